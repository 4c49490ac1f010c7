// Space Zarkons 3D played as a player would: the real program on the X
// display, driven with keys and the mouse, seen through screenshots and its
// standard output. The game reads small data files of the test's own: green
// player ship, red enemy ships, yellow missiles.
#include "gl_test.h"
#include "partida_prueba.h"

#include <GL/freeglut.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <clocale>
#include <cstdlib>
#include <functional>
#include <string>
#include <unistd.h>

namespace
{

// Mesa's shader cache writes from a thread of its own, which can still be
// running when the leak checker stops the game at exit, and crash it.
[[maybe_unused]] const int sinCacheDeShaders = setenv("MESA_SHADER_CACHE_DISABLE", "true", 0);

bool hayPantalla()
{
    return getenv("DISPLAY") != nullptr;
}

bool esVerde(const unsigned char* p)
{
    return p[1] > 20 && p[1] > p[0] + 15 && p[1] > p[2] + 15;
}
bool esRojo(const unsigned char* p)
{
    return p[0] > 150 && p[1] < p[0] * 0.45 && p[2] < p[0] * 0.45;
}
bool esAmarillo(const unsigned char* p)
{
    return p[0] > 120 && p[1] > 120 && p[2] < p[0] / 3;
}

struct Mancha {
    int n = 0;
    double x = 0, y = 0; // centroid
};

Mancha buscar(const zk::Image& im, bool (*color)(const unsigned char*), int y0 = 0, int y1 = 1 << 20)
{
    Mancha m;
    for (int y = std::max(0, y0); y < std::min(im.height, y1); y++)
        for (int x = 0; x < im.width; x++)
            if (color(im.at(x, y))) {
                m.n++;
                m.x += x;
                m.y += y;
            }
    if (m.n > 0) {
        m.x /= m.n;
        m.y /= m.n;
    }
    return m;
}

// One run of the game in a folder with its own data files.
class Partida : public zk::PartidaPrueba
{
  protected:
    void SetUp() override { arrancar(); }

    zk::Image foto()
    {
        std::string png = "/tmp/zk-e2e-foto-" + std::to_string(getpid()) + ".png";
        zk::Image im;
        EXPECT_TRUE(juego->screenshot(png));
        EXPECT_TRUE(zk::loadImage(png, im));
        unlink(png.c_str());
        return im;
    }

    // Waits until the output holds `texto`, pressing `tecla` now and then.
    bool esperarSalida(const std::string& texto, const std::string& tecla, int ms)
    {
        auto fin = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
        while (juego->output().find(texto) == std::string::npos) {
            if (std::chrono::steady_clock::now() >= fin || !juego->running())
                return false;
            if (!tecla.empty())
                juego->key(tecla);
            zk::sleepMs(120);
        }
        return true;
    }

    // Polls screenshots until `cond` holds; the last one stays in `ultima`.
    bool esperar(const std::function<bool(const zk::Image&)>& cond, double segundos = 10)
    {
        auto fin = std::chrono::steady_clock::now() + std::chrono::milliseconds((int)(segundos * 1000));
        for (;;) {
            ultima = foto();
            if (ultima.width > 0 && cond(ultima))
                return true;
            if (std::chrono::steady_clock::now() >= fin || !juego->running())
                return false;
            zk::sleepMs(50);
        }
    }

    // Waits until three shots in a row, each a few frames after the last,
    // find the ship at one place on screen: across (x) or up and down (y).
    bool esperarNaveQuieta(double Mancha::*eje, int y0 = 0)
    {
        double antes = -100;
        int quieta = 0;
        return esperar([&](const zk::Image& im) {
            const Mancha nave = buscar(im, esVerde, y0);
            quieta = nave.n > 50 && std::abs(nave.*eje - antes) < 0.5 ? quieta + 1 : 0;
            antes = nave.*eje;
            juego->waitNewFrames(3, 2);
            return quieta >= 2;
        }, 30);
    }

    // Waits for the end of the fly-in, which brings the eye up to the
    // ship's height: from then on the ship stays at one height on screen
    // (the camera only sways sideways).
    void esperarVuelo() { ASSERT_TRUE(esperarNaveQuieta(&Mancha::y)) << "the fly-in never ended"; }

    void salirConEscape()
    {
        juego->key("Escape");
        EXPECT_EQ(juego->waitExit(20), 0) << juego->output();
    }

    zk::Image ultima;
};

// The ink of a label in the menus' font, as this process draws it.
struct Tinta {
    int w = 0, h = 0;
    std::vector<bool> px; // rows from the top
    bool at(int x, int y) const { return px[(size_t)y * w + x]; }
};

Tinta tintaDe(const char* etiqueta)
{
    const int W = 400, H = 60;
    glViewport(0, 0, W, H);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, W, 0, H, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glClearColor(1, 1, 1, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glColor3f(0, 0, 0);
    glRasterPos2i(10, 20);
    glutBitmapString(GLUT_BITMAP_HELVETICA_18, (const unsigned char*)etiqueta);
    glFinish();
    std::vector<unsigned char> rgba = zk::readPixels(0, 0, W, H);
    int x0 = W, x1 = -1, y0 = H, y1 = -1;
    auto negro = [&](int x, int y) { return rgba[((size_t)y * W + x) * 4] < 60; };
    for (int y = 0; y < H; y++)
        for (int x = 0; x < W; x++)
            if (negro(x, y)) {
                x0 = std::min(x0, x);
                x1 = std::max(x1, x);
                y0 = std::min(y0, y);
                y1 = std::max(y1, y);
            }
    Tinta t;
    if (x1 < 0)
        return t;
    t.w = x1 - x0 + 1;
    t.h = y1 - y0 + 1;
    for (int y = y1; y >= y0; y--) // OpenGL rows are bottom-up
        for (int x = x0; x <= x1; x++)
            t.px.push_back(negro(x, y));
    return t;
}

bool gris(const zk::Image& im, int x, int y)
{
    const unsigned char* p = im.at(x, y);
    return p[0] == 178 && p[1] == 178 && p[2] == 178;
}

// The right-button menu opened at (100, 100), whole: its picture and its
// right and bottom margins.
struct MenuAbierto {
    zk::Image pantalla;
    int derecha = 104, abajo = 104;
};

void abrirMenu(zk::GameProcess& juego, MenuAbierto& m)
{
    juego.click(3, 100, 100);
    // over an entry and back onto the menu's border: freeglut redraws the
    // menu at its final size, with no entry lit
    std::string png = "/tmp/zk-e2e-menu-" + std::to_string(getpid()) + ".png";
    bool abierto = false;
    for (int intento = 0; intento < 20 && !abierto; intento++) {
        juego.mouseMove(150, 160);
        zk::sleepMs(200);
        juego.mouseMove(101, 101);
        zk::sleepMs(300);
        ASSERT_TRUE(juego.screenshotScreen(png));
        ASSERT_TRUE(zk::loadImage(png, m.pantalla));
        abierto = gris(m.pantalla, 104, 104) && gris(m.pantalla, 102, 290); // at the pointer, whole
    }
    unlink(png.c_str());
    ASSERT_TRUE(abierto) << "no menu at the pointer";
    // along the margins, clear of the labels
    while (m.derecha + 1 < m.pantalla.width && gris(m.pantalla, m.derecha + 1, 103))
        m.derecha++;
    while (m.abajo + 1 < m.pantalla.height && gris(m.pantalla, 102, m.abajo + 1))
        m.abajo++;
}

// Each label, byte for byte, as this process draws it in the same font: the
// menu's ink must match it pixel for pixel.
void compararEtiquetas(const MenuAbierto& m, const std::vector<const char*>& etiquetas)
{
    int ventana = zk::openWindow(400, 60, "zk-etiquetas");
    ASSERT_NE(ventana, 0);
    auto negro = [&](int x, int y) {
        const unsigned char* p = m.pantalla.at(x, y);
        return p[0] < 60 && p[1] < 60 && p[2] < 60;
    };
    // rows of ink, one band per entry
    std::vector<std::pair<int, int>> bandas;
    for (int y = 102; y <= m.abajo; y++) {
        bool tinta = false;
        for (int x = 102; x <= m.derecha; x++)
            tinta = tinta || negro(x, y);
        if (tinta && (bandas.empty() || bandas.back().second != y - 1))
            bandas.push_back({y, y});
        else if (tinta)
            bandas.back().second = y;
    }
    ASSERT_EQ(bandas.size(), etiquetas.size());
    for (size_t i = 0; i < etiquetas.size(); i++) {
        SCOPED_TRACE(etiquetas[i]);
        Tinta t = tintaDe(etiquetas[i]);
        ASSERT_GT(t.w, 0);
        // the label's ink starts at the leftmost and topmost inked pixels of its band
        int x0 = m.derecha, y0 = bandas[i].second;
        for (int y = bandas[i].first; y <= bandas[i].second; y++)
            for (int x = 102; x < 102 + t.w + 10 && x <= m.derecha; x++)
                if (negro(x, y)) {
                    x0 = std::min(x0, x);
                    y0 = std::min(y0, y);
                }
        int distintos = 0;
        for (int y = 0; y < t.h; y++)
            for (int x = 0; x < t.w; x++)
                if (t.at(x, y) != negro(x0 + x, y0 + y))
                    distintos++;
        EXPECT_EQ(distintos, 0);
    }
    glutDestroyWindow(ventana);
}

} // namespace

TEST_F(Partida, TheFlyInEndsAndThePlayerCanFire)
{
    zk::Image inicio = foto(); // findWindow waited for the first frame
    Mancha naveInicio = buscar(inicio, esVerde);
    ASSERT_NO_FATAL_FAILURE(esperarVuelo());
    zk::Image juegoEmpezado = ultima;
    Mancha nave = buscar(juegoEmpezado, esVerde);
    Mancha enemigos = buscar(juegoEmpezado, esRojo);
    ASSERT_GT(nave.n, 50) << "the ship is not on screen";
    EXPECT_GT(enemigos.n, 200);
    // the camera came from the lower left: the ship moved on screen meanwhile
    if (naveInicio.n > 0) {
        EXPECT_GT(std::abs(nave.x - naveInicio.x) + std::abs(nave.y - naveInicio.y), 5.0);
    }
    // the ship sits below the formation, near the middle
    EXPECT_GT(nave.y, enemigos.y);
    EXPECT_NEAR(nave.x, 320, 60);

    // a shot appears once the reload has come
    bool disparo = false;
    for (int i = 0; i < 10 && !disparo; i++) {
        juego->key("space");
        juego->waitNewFrames(3);
        disparo = buscar(foto(), esAmarillo).n > 0;
    }
    EXPECT_TRUE(disparo);
    salirConEscape();
}

TEST_F(Partida, ArrowKeysMoveTheShipOnScreen)
{
    ASSERT_NO_FATAL_FAILURE(esperarVuelo());
    Mancha antes = buscar(ultima, esVerde);
    ASSERT_GT(antes.n, 50);
    for (int i = 0; i < 12; i++)
        juego->key("Left");
    esperar([&](const zk::Image& im) { return buscar(im, esVerde).x < antes.x - 20; });
    Mancha izquierda = buscar(ultima, esVerde);
    EXPECT_LT(izquierda.x, antes.x - 20);
    for (int i = 0; i < 24; i++)
        juego->key("Right");
    esperar([&](const zk::Image& im) { return buscar(im, esVerde).x > antes.x + 20; });
    Mancha derecha = buscar(ultima, esVerde);
    EXPECT_GT(derecha.x, antes.x + 20);
    for (int i = 0; i < 10; i++)
        juego->key("Up");
    esperar([&](const zk::Image& im) { return buscar(im, esVerde).y < derecha.y - 10; });
    EXPECT_LT(buscar(ultima, esVerde).y, derecha.y - 10);
    salirConEscape();
}

TEST_F(Partida, SpaceFiresAndEnemyShipsDie)
{
    ASSERT_NO_FATAL_FAILURE(esperarVuelo());
    EXPECT_TRUE(esperarSalida("Invasor destruido", "space", 30000)) << juego->output();
    salirConEscape();
}

TEST_F(Partida, STogglesTheScoreStrip)
{
    ASSERT_NO_FATAL_FAILURE(esperarVuelo());
    auto gris = [](const zk::Image& im) {
        int n = 0;
        for (int y = 3; y < 20; y++)
            for (int x = 5; x < 630; x++) {
                const unsigned char* p = im.at(x, y);
                if (p[0] == 64 && p[1] == 64 && p[2] == 64)
                    n++;
            }
        return n;
    };
    EXPECT_LT(gris(ultima), 100);
    juego->key("s");
    esperar([&](const zk::Image& im) { return gris(im) > 5000; });
    const zk::Image con = ultima;
    EXPECT_GT(gris(con), 5000); // the strip's grey, with its texts on it
    int blancos = 0;
    for (int y = 3; y < 20; y++)
        for (int x = 5; x < 630; x++)
            if (con.at(x, y)[0] > 200 && con.at(x, y)[1] > 200 && con.at(x, y)[2] > 200)
                blancos++;
    EXPECT_GT(blancos, 100);
    juego->key("s");
    esperar([&](const zk::Image& im) { return gris(im) < 100; });
    EXPECT_LT(gris(ultima), 100);
    salirConEscape();
}

TEST_F(Partida, AKeyReleasedOverTheScoreStripDoesNotStayHeld)
{
    // the pause below must come after the fly-in, which pauses the game itself
    ASSERT_NO_FATAL_FAILURE(esperarVuelo());
    juego->key("s");
    juego->waitNewFrames(3);
    juego->mouseMove(320, 400);
    juego->waitNewFrames(3);
    Mancha antes = buscar(foto(), esVerde, 40);
    juego->keyDown("Left");
    zk::sleepMs(1000); // held, it repeats: the ship goes further than the camera sways
    juego->mouseMove(320, 10); // over the strip
    juego->waitNewFrames(3);
    juego->keyUp("Left");
    juego->waitNewFrames(3);
    juego->mouseMove(320, 400);
    // paused, the camera stops swaying, but every key still runs the held
    // keys: a stuck arrow would go on moving the ship
    juego->key("p");
    ASSERT_TRUE(esperarNaveQuieta(&Mancha::x, 40)) << "the pause did not hold the ship";
    Mancha soltada = buscar(ultima, esVerde, 40);
    for (int i = 0; i < 6; i++)
        juego->key("x");
    juego->waitNewFrames(3, 3);
    ASSERT_TRUE(esperarNaveQuieta(&Mancha::x, 40));
    Mancha despues = buscar(ultima, esVerde, 40);
    EXPECT_LT(soltada.x, antes.x); // the press did move it
    EXPECT_NEAR(despues.x, soltada.x, 1.0);
    salirConEscape();
}

TEST_F(Partida, TheRightButtonMenuShowsItsLabelsAndItsEntriesAct)
{
    ASSERT_NO_FATAL_FAILURE(esperarVuelo());
    MenuAbierto menu;
    ASSERT_NO_FATAL_FAILURE(abrirMenu(*juego, menu));
    int entrada = (menu.abajo - 100) / 8;

    // "Wireframe (w)": the ship, clear of the menu, turns into an outline
    // freeglut lights the entry under the pointer when it next draws the menu,
    // and a release acts on the lit entry: wait to see it lit
    std::string png = "/tmp/zk-e2e-menu-" + std::to_string(getpid()) + ".png";
    auto elegir = [&](int y) {
        juego->mouseMove(110, y);
        const bool encendida = juego->waitForImage([&](const zk::Image&) {
            zk::Image ahora;
            if (!juego->screenshotScreen(png) || !zk::loadImage(png, ahora))
                return false;
            return !gris(ahora, 104, y);
        }, 10);
        unlink(png.c_str());
        EXPECT_TRUE(encendida) << "the entry under the pointer never lit";
        juego->mouseDown(1);
        zk::sleepMs(50);
        juego->mouseUp(1);
    };
    int lleno = buscar(foto(), esVerde).n;
    ASSERT_GT(lleno, 1000);
    elegir(100 + entrada / 2);
    esperar([&](const zk::Image& im) { return buscar(im, esVerde).n < lleno / 3; });
    EXPECT_LT(buscar(ultima, esVerde).n, lleno / 3);

    // "Salir" ends the game with status 0
    juego->click(3, 100, 100);
    // (a picture of its own: the labels below are read from the first one)
    ASSERT_TRUE(juego->waitForImage([&](const zk::Image&) {
        zk::Image otra;
        if (!juego->screenshotScreen(png) || !zk::loadImage(png, otra))
            return false;
        return gris(otra, 104, 104);
    }, 10)) << "the menu did not open again";
    unlink(png.c_str());
    elegir(100 + 7 * entrada + entrada / 2);
    EXPECT_EQ(juego->waitExit(20), 0) << juego->output();

    // (0xF3 is the accented o)
    compararEtiquetas(menu, {"Wireframe (w)", "Facetado/Interpolado (i)", "Score (s)", "Full Screen (f)",
                             "Proyecci\xF3n (o)", "Velocidad ", "Luces ", "Salir"});
}

// In an English locale the menu speaks English.
class PartidaEnIngles : public Partida
{
  protected:
    void SetUp() override
    {
        setenv("LC_ALL", "en_US.UTF-8", 1);
        unsetenv("LANGUAGE");
        if (setlocale(LC_ALL, "en_US.UTF-8") == nullptr)
            GTEST_FAIL() << "en_US.UTF-8 is not generated: run the suite through ./test.sh";
        setlocale(LC_ALL, "C");
        Partida::SetUp();
    }
};

TEST_F(PartidaEnIngles, TheRightButtonMenuShowsEnglishLabels)
{
    ASSERT_NO_FATAL_FAILURE(esperarVuelo());
    MenuAbierto menu;
    ASSERT_NO_FATAL_FAILURE(abrirMenu(*juego, menu));
    compararEtiquetas(menu, {"Wireframe (w)", "Flat/Smooth shading (i)", "Score (s)", "Full Screen (f)",
                             "Projection (o)", "Speed ", "Lights ", "Quit"});
}

TEST_F(Partida, ALeftButtonDragMovesTheCamera)
{
    ASSERT_NO_FATAL_FAILURE(esperarVuelo());
    zk::Image antes = ultima;
    Mancha enemigos = buscar(antes, esRojo);
    Mancha nave = buscar(antes, esVerde);
    ASSERT_GT(enemigos.n, 200);
    ASSERT_GT(nave.n, 50);
    juego->mouseMove(320, 320);
    juego->waitNewFrames(3);
    juego->mouseDown(1);
    juego->waitNewFrames(3);
    juego->mouseMove(480, 320);
    juego->waitNewFrames(3);
    juego->mouseUp(1);
    // the eye went toward +x around the look-at point: the formation, beyond
    // that point, slides right on screen and the ship, before it, left
    esperar([&](const zk::Image& im) {
        return buscar(im, esRojo).x > enemigos.x + 30 && buscar(im, esVerde).x < nave.x - 30;
    });
    const zk::Image& ahora = ultima;
    EXPECT_GT(buscar(ahora, esRojo).x, enemigos.x + 30);
    EXPECT_LT(buscar(ahora, esVerde).x, nave.x - 30);
    salirConEscape();
}

TEST(PartidaSinDatos, AFolderWithoutDataEndsWithAClearLineAndStatus1)
{
    if (!hayPantalla())
        GTEST_SKIP() << "no X display: run the suite through ./test.sh";
    std::string vacio = zk::makeTempDir();
    zk::GameProcess juego(zk::binaryPath("space-zarkons-3d"), {}, vacio);
    ASSERT_TRUE(juego.start());
    EXPECT_EQ(juego.waitExit(30), 1);
    std::string salida = juego.output();
    EXPECT_NE(salida.find("No se pudieron cargar los modelos del juego"), std::string::npos) << salida;
    EXPECT_NE(salida.find("can't open data/"), std::string::npos) << salida; // the loader's own line survives
    rmdir(vacio.c_str());
}

// A game lost quickly (the fastest speed brings the formation down in
// seconds) without a hit ends at zero or below: no record, yet the table
// shows over the scene with the score and the line of the keys; Intro then
// plays a new game, in which enemy ships die again, and Escape still ends
// the program cleanly.
TEST_F(Partida, ALostGameShowsTheTableThenIntroPlaysAgain)
{
    for (int i = 0; i < 10; i++)
        juego->key("plus");
    // the pane: deep blue behind the yellow title and the score's line
    auto panel = [](const unsigned char* p) { return p[0] < 20 && p[1] < 20 && p[2] >= 25 && p[2] <= 60; };
    int azul = 0, amarillo = 0;
    for (int intento = 0; intento < 600 && (azul < 3000 || amarillo < 100); intento++) {
        zk::sleepMs(200);
        const zk::Image im = foto();
        azul = buscar(im, panel, 250, 390).n;
        amarillo = buscar(im, esAmarillo, 250, 390).n;
    }
    EXPECT_GT(azul, 3000) << "no table over the scene after two minutes";
    EXPECT_GT(amarillo, 100) << "no yellow title or score";
    const std::string records = juego->dataHome() + "/zarkons/space-zarkons-3d.records";
    std::string texto;
    zk::runCommand("cat '" + records + "' 2>/dev/null", &texto);
    EXPECT_EQ(texto.find(" invasion\n"), std::string::npos) << texto;
    EXPECT_EQ(texto.find(" sin-vidas\n"), std::string::npos) << texto;
    auto celeste = [](const unsigned char* p) { return p[2] > 200 && p[1] > 150 && p[0] > 100 && p[0] < 200; };
    EXPECT_GT(buscar(foto(), celeste, 250, 420).n, 40) << "no line saying what Intro does";

    const size_t antes = juego->output().size();
    juego->key("Return");
    esperar([&](const zk::Image& im) { return buscar(im, panel, 250, 390).n < 300; });
    EXPECT_LT(buscar(ultima, panel, 250, 390).n, 300) << "the table outlived the game";
    auto fin = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (juego->output().find("Invasor destruido", antes) == std::string::npos &&
           std::chrono::steady_clock::now() < fin && juego->running()) {
        juego->key("space");
        zk::sleepMs(120);
    }
    EXPECT_NE(juego->output().find("Invasor destruido", antes), std::string::npos)
        << "no enemy ship destroyed after the restart";
    salirConEscape();
    EXPECT_EQ(juego->output().find("records"), std::string::npos) << juego->output();
}

// Unmapped, as a window manager does when the window is iconified, a running
// game pauses; mapped again it shows "Pausa" and the arrows move nothing
// until P resumes it.
TEST_F(Partida, AnUnmappedWindowPausesTheGameUntilP)
{
    ASSERT_NO_FATAL_FAILURE(esperarVuelo());
    auto blanco = [](const unsigned char* p) { return p[0] > 200 && p[1] > 200 && p[2] > 200; };
    const int estrellas = buscar(ultima, blanco, 300, 340).n;
    ASSERT_EQ(zk::runCommand("xdotool windowunmap --sync " + juego->window()), 0);
    ASSERT_EQ(zk::runCommand("xdotool windowmap --sync " + juego->window()), 0);
    zk::runCommand("xdotool windowfocus " + juego->window());
    EXPECT_TRUE(esperar([&](const zk::Image& im) { return buscar(im, blanco, 300, 340).n > estrellas + 40; }))
        << "no Pausa in the middle";
    const Mancha nave = buscar(ultima, esVerde);
    ASSERT_GT(nave.n, 50);
    for (int i = 0; i < 12; i++)
        juego->key("Left");
    // each key is answered with a frame, paused or not
    juego->waitNewFrames(3, 5);
    EXPECT_NEAR(buscar(foto(), esVerde).x, nave.x, 3.0) << "the ship moved in the pause";
    juego->key("p");
    for (int i = 0; i < 12; i++)
        juego->key("Left");
    esperar([&](const zk::Image& im) { return buscar(im, esVerde).x < nave.x - 20; });
    EXPECT_LT(buscar(ultima, esVerde).x, nave.x - 20) << "P did not resume the game";
    salirConEscape();
}
