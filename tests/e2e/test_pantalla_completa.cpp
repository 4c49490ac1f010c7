// Space Zarkons 3D's F key on the real program: full screen, and back to the
// window where it stood and at the size it had.
#include "e2e.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>

namespace {

struct Geometria {
    int x = -1, y = -1, w = -1, h = -1;
    bool operator==(const Geometria& o) const { return x == o.x && y == o.y && w == o.w && h == o.h; }
};

int campo(const std::string& out, const char* nombre)
{
    const size_t p = out.find(nombre);
    return p == std::string::npos ? -1 : atoi(out.c_str() + p + strlen(nombre));
}

Geometria geometria(const std::string& id)
{
    std::string out;
    zk::runCommand("xdotool getwindowgeometry --shell " + id, &out);
    return {campo(out, "X="), campo(out, "Y="), campo(out, "WIDTH="), campo(out, "HEIGHT=")};
}

bool esperarGeometria(const std::string& id, const Geometria& g)
{
    for (int i = 0; i < 1000; i++) {
        if (geometria(id) == g)
            return true;
        zk::sleepMs(20);
    }
    return false;
}

} // namespace

TEST(PantallaCompleta, FTwiceBringsTheWindowBackWhereItWas)
{
    if (getenv("DISPLAY") == nullptr)
        GTEST_SKIP() << "no X display: run the suite through ./test.sh";
    zk::GameProcess juego(zk::binaryPath("space-zarkons-3d"), {"--mute"}, zk::gameDataParent());
    ASSERT_TRUE(juego.start());
    const std::string id = juego.findWindow("Space Zarkons 3D");
    ASSERT_FALSE(id.empty()) << juego.errors();
    zk::runCommand("xdotool windowmove --sync " + id + " 300 120 >/dev/null 2>&1");
    const Geometria ventana{300, 120, 640, 640};
    ASSERT_TRUE(esperarGeometria(id, ventana));

    std::string pantalla;
    zk::runCommand("xdotool getdisplaygeometry", &pantalla);
    const int ancho = atoi(pantalla.c_str()), alto = atoi(pantalla.c_str() + pantalla.find(' ') + 1);
    for (int vez = 1; vez <= 2; vez++) {
        juego.key("f");
        EXPECT_TRUE(esperarGeometria(id, {0, 0, ancho, alto})) << "not full screen, time " << vez;
        // the scene is drawn over the whole screen, right to its far corner
        EXPECT_TRUE(juego.waitForImage(
            [&](const zk::Image& im) {
                return im.width == ancho && im.countBright(ancho - 400, alto - 400, ancho, alto) > 20;
            },
            20))
            << "no scene in the far corner, time " << vez;
        juego.key("f");
        const Geometria g = geometria(id);
        EXPECT_TRUE(esperarGeometria(id, ventana))
            << "not back, time " << vez << ": " << g.x << " " << g.y << " " << g.w << " " << g.h;
    }
    EXPECT_TRUE(juego.running());
    juego.key("Escape");
    EXPECT_EQ(juego.waitExit(30), 0) << juego.errors();
}
