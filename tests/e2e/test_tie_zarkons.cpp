// Tie Zarkons end to end: the real executable on the X display, driven by
// keys, seen through screenshots, judged by its output and exit status.
#include "e2e.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const char* const kTitulo = "Tie Zarkons";

// What the game writes at start, byte for byte (Latin-1).
const std::string kInstrucciones =
    "\nInstrucciones:\n"
    "   Las teclas de flecha rotan el objeto.\n"
    "   La tecla de Inicio restaura el objeto a su orientacion original.\n"
    "   La tecla 'A' comienza y detiene la animacion.\n"
    "        (Las teclas Arrow y Home no funcionan durante la animacion.)\n"
    "   La tecla 'P' cambia entre proyeccci\xF3n en perspectiva y ortografica.\n"
    "   The Escape key ends the program.\n\n";

// the texts and shots are lit, smoothed lines: yellow of any brightness
bool amarillo(const unsigned char* p)
{
    return p[0] > 40 && p[1] > 40 && std::abs(p[0] - p[1]) < 25 && p[2] * 3 < p[0];
}
// the walls' purple, lit or in shadow
bool morado(const unsigned char* p) { return p[2] > 60 && p[0] > 30 && p[1] * 2 < p[0] && p[2] > p[0]; }
bool verde(const unsigned char* p) { return p[1] > p[0] + 40 && p[1] > p[2] + 40; }

int contar(const zk::Image& img, int x0, int y0, int x1, int y1,
           const std::function<bool(const unsigned char*)>& que)
{
    int n = 0;
    for (int y = std::max(0, y0); y < std::min(img.height, y1); y++)
        for (int x = std::max(0, x0); x < std::min(img.width, x1); x++)
            n += que(img.at(x, y)) ? 1 : 0;
    return n;
}

class TieZarkons : public ::testing::Test {
protected:
    void SetUp() override
    {
        const char* d = getenv("DISPLAY");
        if (d == nullptr || d[0] == '\0')
            GTEST_SKIP() << "no X display (DISPLAY is unset): run the suite through ./test.sh";
        exe = zk::binaryPath("tie-zarkons");
        struct stat st;
        ASSERT_EQ(stat(exe.c_str(), &st), 0) << exe << " is not built";
        dir = zk::makeTempDir(); // the game reads and writes no file
    }
    void TearDown() override
    {
        juego.reset();
        if (!dir.empty())
            zk::runCommand("rm -rf '" + dir + "'");
    }

    void arrancar()
    {
        juego = std::make_unique<zk::GameProcess>(exe, std::vector<std::string>{}, dir);
        ASSERT_TRUE(juego->start());
        ASSERT_FALSE(juego->findWindow(kTitulo).empty())
            << "no window titled " << kTitulo << "; the game said: " << juego->errors();
        // To the top-left corner, where Space Zarkons 3D opens too (the
        // end-to-end tests take turns): clear of the test windows other
        // suites open to the right of it, which would show in a screenshot.
        zk::runCommand("xdotool windowmove --sync " + juego->window() + " 0 0 >/dev/null 2>&1");
    }

    zk::Image foto()
    {
        zk::Image img;
        const std::string png = dir + "/foto.png";
        EXPECT_TRUE(juego->screenshot(png));
        EXPECT_TRUE(zk::loadImage(png, img));
        if (img.width == 0) { // keep callers' indexing safe
            img.width = img.height = 1;
            img.rgb.assign(3, 0);
        }
        return img;
    }

    // Polls screenshots until `cond` holds or the time runs out; the last
    // one taken stays in `ultima`.
    bool esperar(const std::function<bool(const zk::Image&)>& cond, double segundos)
    {
        const auto fin = std::chrono::steady_clock::now() + std::chrono::milliseconds((int)(segundos * 1000));
        while (std::chrono::steady_clock::now() < fin) {
            ultima = foto();
            if (cond(ultima))
                return true;
            if (!juego->running())
                return false;
            zk::sleepMs(250);
        }
        return false;
    }

    static bool hayMuros(const zk::Image& img) { return contar(img, 0, 0, img.width, img.height, morado) > 2000; }

    static bool pantallaFinal(const zk::Image& img)
    {
        // the question fills the middle; no walls are left on screen
        return !hayMuros(img) && contar(img, 200, 250, 450, 330, amarillo) > 300;
    }

    void aJugar()
    {
        juego->key("space");
        juego->waitNewFrames();
        juego->key("space");
        ASSERT_TRUE(esperar(hayMuros, 20)) << "the play field never showed";
    }

    void salirCon(const std::string& tecla)
    {
        juego->key(tecla);
        EXPECT_EQ(juego->waitExit(20), 0) << juego->errors();
    }

    // x of the X-Wing's middle: its non-green bright pixels along the bottom
    static double xDelXWing(const zk::Image& img)
    {
        double suma = 0;
        int n = 0;
        for (int y = 420; y < std::min(img.height, 478); y++)
            for (int x = 0; x < img.width; x++) {
                const unsigned char* p = img.at(x, y);
                if ((p[0] > 50 || p[1] > 50 || p[2] > 50) && !verde(p) && !amarillo(p)) {
                    suma += x;
                    n++;
                }
            }
        return n > 0 ? suma / n : -1;
    }

    std::string exe, dir;
    std::unique_ptr<zk::GameProcess> juego;
    zk::Image ultima;
};

} // namespace

TEST_F(TieZarkons, WritesTheInstructionsAndEscapeEndsTheOpening)
{
    arrancar();
    EXPECT_TRUE(juego->waitForOutput(kInstrucciones, 10));
    EXPECT_EQ(juego->output(), kInstrucciones);
    // one line of text across the middle, nothing else
    EXPECT_TRUE(esperar([](const zk::Image& i) { return contar(i, 60, 220, 580, 250, amarillo) > 150; }, 10))
        << contar(ultima, 60, 220, 580, 250, amarillo) << " yellow pixels in the middle";
    const zk::Image& img = ultima;
    EXPECT_EQ(img.width, 640);
    EXPECT_EQ(img.height, 480);
    EXPECT_EQ(contar(img, 0, 0, 640, 200, amarillo), 0);
    salirCon("Escape");
}

TEST_F(TieZarkons, KeysSkipTheOpeningAndTheTitleAndEscapeEndsPlay)
{
    arrancar();
    juego->key("space");
    // the title starts far larger than the opening line, filling the window
    auto fuera = [](const zk::Image& i) {
        return contar(i, 0, 0, 640, 200, amarillo) + contar(i, 0, 260, 640, 480, amarillo);
    };
    juego->waitNewFrames();
    EXPECT_TRUE(esperar([&](const zk::Image& i) { return fuera(i) > 500; }, 10))
        << fuera(ultima) << " yellow pixels off the middle";
    EXPECT_FALSE(hayMuros(ultima));
    juego->key("x");
    ASSERT_TRUE(esperar(hayMuros, 20));
    salirCon("Escape");
}

TEST_F(TieZarkons, TheTitleGivesWayToPlayByItselfAndEscapeEndsIt)
{
    arrancar();
    juego->key("Return");
    ASSERT_TRUE(esperar([](const zk::Image& i) { return !hayMuros(i); }, 5));
    // 200 ticks, a few seconds
    EXPECT_TRUE(esperar(hayMuros, 60));

    // a second run ends from the title itself
    juego.reset();
    arrancar();
    juego->key("space");
    juego->waitNewFrames();
    salirCon("Escape");
}

TEST_F(TieZarkons, HelpComesAndGoesAndPauseFreezesTheField)
{
    arrancar();
    aJugar();
    juego->key("h");
    ASSERT_TRUE(esperar([](const zk::Image& i) { return !hayMuros(i); }, 5)) << "no help screen";
    const zk::Image ayuda = foto();
    // the heading at the top and the lines down the left
    EXPECT_GT(contar(ayuda, 100, 0, 540, 40, amarillo), 300);
    EXPECT_GT(contar(ayuda, 20, 60, 120, 310, amarillo), 300);
    juego->key("x");
    ASSERT_TRUE(esperar(hayMuros, 5)) << "any key goes back to play";

    juego->key("a");
    // the tick already armed still runs once; then the picture holds
    ASSERT_TRUE(juego->waitForStill(10)) << "the field never stood still";
    const zk::Image a = foto();
    zk::sleepMs(600); // a paused field holds for any time: this much is enough to see
    const zk::Image b = foto();
    EXPECT_EQ(a.rgb, b.rgb) << "something moved while paused";
    // "Pausa" over the middle of the field
    EXPECT_GT(contar(a, 240, 170, 400, 245, amarillo), 200);

    // paused, the keys that change the screen still show the new one at once
    juego->key("h");
    EXPECT_TRUE(esperar([](const zk::Image& i) { return !hayMuros(i) && contar(i, 100, 0, 540, 40, amarillo) > 300; },
                        3)) << "paused, 'H' showed no help screen";
    juego->key("x");
    EXPECT_TRUE(esperar([](const zk::Image& i) { return hayMuros(i) && contar(i, 240, 170, 400, 245, amarillo) > 200; },
                        3)) << "paused, a key on the help screen did not show the paused field";

    juego->key("a");
    const int pausa = contar(a, 240, 170, 400, 245, amarillo);
    EXPECT_TRUE(esperar([&](const zk::Image& i) { return contar(i, 240, 170, 400, 245, amarillo) < pausa; }, 5))
        << "Pausa stayed after resuming";
    const zk::Image c = ultima;
    EXPECT_TRUE(esperar([&](const zk::Image& i) { return i.rgb != c.rgb; }, 5)) << "nothing moves after resuming";

    juego->key("h");
    EXPECT_TRUE(esperar([](const zk::Image& i) { return !hayMuros(i); }, 5)) << "no help screen";
    salirCon("Escape"); // from the help screen
}

TEST_F(TieZarkons, EscapeEndsAPausedGame)
{
    arrancar();
    aJugar();
    juego->key("a");
    ASSERT_TRUE(juego->waitForStill(10)) << "the field never stood still";
    salirCon("Escape");
}

TEST_F(TieZarkons, ArrowsMoveTheXWingAndMFires)
{
    arrancar();
    aJugar();
    const double x0 = xDelXWing(foto());
    ASSERT_GT(x0, 300);
    ASSERT_LT(x0, 340);

    // from the middle the shot flies between the walls
    // the gun needs six ticks after play starts, and slow builds take a
    // while to draw them, so a player would press again
    auto hayDisparo = [](const zk::Image& i) { return contar(i, 310, 40, 332, 415, amarillo) > 3; };
    bool disparo = false;
    for (int intento = 0; intento < 8 && !disparo; intento++) {
        juego->key("m");
        disparo = esperar(hayDisparo, 1.5);
    }
    EXPECT_TRUE(disparo) << "no shot above the X-Wing";

    // 15 units at a scale of 0.2, 15 pixels a unit; each key moves it at once
    auto cerca = [&](double x) {
        return [x](const zk::Image& i) { return std::abs(xDelXWing(i) - x) <= 8; };
    };
    for (int i = 0; i < 15; i++)
        juego->key("Left");
    juego->waitNewFrames();
    esperar(cerca(x0 - 45), 5);
    EXPECT_NEAR(xDelXWing(ultima), x0 - 45, 8);
    for (int i = 0; i < 5; i++)
        juego->key("Right");
    juego->waitNewFrames();
    esperar(cerca(x0 - 30), 5);
    EXPECT_NEAR(xDelXWing(ultima), x0 - 30, 8);
    salirCon("Escape");
}

TEST_F(TieZarkons, ALostGameAsksToGoOnSRestartsAndNEnds)
{
    arrancar();
    aJugar();
    // standing still between the walls, the Ties win in well under a minute
    ASSERT_TRUE(esperar(pantallaFinal, 200)) << "the game was never lost";
    // a game that won nothing is no record, yet a line under "Si/No" gives
    // its points and says so
    const std::string records = juego->dataHome() + "/zarkons/tie-zarkons.records";
    auto lineas = [&] {
        std::string texto;
        zk::runCommand("cat '" + records + "' 2>/dev/null", &texto);
        return texto;
    };
    auto lineaDePuntos = [](const zk::Image& i) { return contar(i, 150, 395, 640, 470, amarillo) > 150; };
    EXPECT_TRUE(esperar(lineaDePuntos, 10)) << "no line of this game's points";
    EXPECT_EQ(lineas().find(" perdida"), std::string::npos) << lineas();
    juego->key("s");
    ASSERT_TRUE(esperar(hayMuros, 10)) << "'S' did not start a new game";
    ASSERT_TRUE(esperar(pantallaFinal, 200)) << "the second game was never lost";
    EXPECT_TRUE(esperar(lineaDePuntos, 10)) << "no line of the second game's points";
    EXPECT_EQ(lineas().find(" perdida"), std::string::npos) << lineas();
    salirCon("n");
    EXPECT_EQ(juego->output(), kInstrucciones) << "records never reach standard output";
}
