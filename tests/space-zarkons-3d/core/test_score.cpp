// The score strip: a real subwindow, its size as the main window changes, and
// what its frame really draws (feedback bitmaps and lines).
#include "juego_prueba.h"

#include "Disparo.h"
#include "idioma.h"

#include <GL/freeglut.h>

#include <array>
#include <climits>
#include <cmath>
#include <cstring>
#include <map>
#include <string>

using zk::Juego;

namespace
{

struct Texto {
    float x = 0, y = 0;         // raster position of the first character
    float r = 0, g = 0, b = 0;  // its colour
    std::vector<float> avances; // x of each character
};

// The strip's frame through feedback: its lines, and its bitmap characters
// grouped into the texts that start at the four fixed places.
class Tira : public Juego
{
  protected:
    void mostrar()
    {
        alternarScore();
        zk::bombearHasta(
            [] {
                glutSetWindow(ventanaScore);
                return glutGet(GLUT_WINDOW_HEIGHT) == 24;
            },
            3000);
        glutSetWindow(ventanaScore);
        reshapeScore(640, 24);
    }

    std::vector<zk::FbPrimitive> capturar()
    {
        glutSetWindow(ventanaScore);
        auto todo = zk::captureFeedback(displayScore);
        glutSetWindow(ventanaPrincipal);
        return todo;
    }

    // Texts by their starting place, in the order they are drawn: a long
    // number may run into the next text's place, so only the next start in
    // that order begins a new text.
    std::map<int, Texto> textos(const std::vector<zk::FbPrimitive>& todo)
    {
        static const int inicios[] = {32, 192, 512, 352}; // 0.05, 0.3, 0.8, 0.55 of 640
        std::map<int, Texto> t;
        int actual = -1;
        for (const zk::FbPrimitive& p : todo) {
            if (p.token != GL_BITMAP_TOKEN)
                continue;
            const zk::FbVertex& v = p.v[0];
            if (actual + 1 < 4 && std::fabs(v.x - (float)inicios[actual + 1]) < 0.01f)
                actual++;
            if (actual < 0)
                continue;
            Texto& tx = t[inicios[actual]];
            if (tx.avances.empty()) {
                tx.x = v.x;
                tx.y = v.y;
                tx.r = v.r;
                tx.g = v.g;
                tx.b = v.b;
            }
            tx.avances.push_back(v.x);
        }
        return t;
    }

    // The raster x of each character of s drawn from x0 in the strip's font.
    static std::vector<float> avancesDe(const std::string& s, float x0)
    {
        std::vector<float> a;
        float x = x0;
        for (unsigned char c : s) {
            a.push_back(x);
            x += (float)glutBitmapWidth(GLUT_BITMAP_HELVETICA_18, c);
        }
        return a;
    }

    void esperarTexto(const Texto& t, const std::string& s, int inicio, bool rojo = false)
    {
        SCOPED_TRACE(s);
        EXPECT_FLOAT_EQ(t.x, (float)inicio);
        EXPECT_FLOAT_EQ(t.y, 6.0f); // 0.25 of 24 pixels
        EXPECT_FLOAT_EQ(t.r, 1.0f);
        EXPECT_FLOAT_EQ(t.g, rojo ? 0.0f : 1.0f);
        EXPECT_FLOAT_EQ(t.b, rojo ? 0.0f : 1.0f);
        std::vector<float> esperado = avancesDe(s, (float)inicio);
        ASSERT_EQ(t.avances.size(), esperado.size());
        for (size_t i = 0; i < esperado.size(); i++)
            EXPECT_FLOAT_EQ(t.avances[i], esperado[i]) << "character " << i;
    }

    int tamano(int cual)
    {
        glutSetWindow(ventanaScore);
        int v = glutGet(cual);
        glutSetWindow(ventanaPrincipal);
        return v;
    }
};

} // namespace

TEST_F(Tira, AbsentAtStartThenCreatedAt640x24AndRemovedByASecondPress)
{
    EXPECT_FALSE(mostrarScore);
    alternarScore();
    EXPECT_TRUE(mostrarScore);
    EXPECT_NE(ventanaScore, 0);
    EXPECT_EQ(glutGetWindow(), ventanaPrincipal);
    zk::bombear(100);
    EXPECT_EQ(tamano(GLUT_WINDOW_WIDTH), 640);
    EXPECT_EQ(tamano(GLUT_WINDOW_HEIGHT), 24);
    glutSetWindow(ventanaScore);
    EXPECT_EQ(glutGet(GLUT_WINDOW_PARENT), ventanaPrincipal);

    int primera = ventanaScore;
    alternarScore();
    EXPECT_FALSE(mostrarScore);
    // requests for the absent strip are dropped and leave the current window alone
    glutSetWindow(ventanaPrincipal);
    redibujarVentana(ventanaScore);
    EXPECT_EQ(glutGetWindow(), ventanaPrincipal);
    zk::bombear(50);

    alternarScore();
    EXPECT_NE(ventanaScore, primera); // a new window each time
}

TEST_F(Tira, CreatedAsWideAsTheMainWindowIsThen)
{
    glutSetWindow(ventanaPrincipal);
    glutReshapeFunc(reshape);
    glutReshapeWindow(1280, 960);
    ASSERT_TRUE(zk::bombearHasta([] { return width == 1280 && height == 960; }, 10000));
    alternarScore();
    zk::bombear(100);
    EXPECT_EQ(tamano(GLUT_WINDOW_WIDTH), 1280);
    EXPECT_EQ(tamano(GLUT_WINDOW_HEIGHT), 24);
    glutSetWindow(ventanaPrincipal);
    glutReshapeWindow(640, 640);
    zk::bombear(100);
}

TEST_F(Tira, FollowsTheMainWindowsWidthAndATwentiethOfItsHeight)
{
    alternarScore();
    glutSetWindow(ventanaPrincipal);
    glutReshapeFunc(reshape);
    reshape(640, 640);
    zk::bombear(100);
    EXPECT_EQ(tamano(GLUT_WINDOW_WIDTH), 640);
    EXPECT_EQ(tamano(GLUT_WINDOW_HEIGHT), 32);

    glutSetWindow(ventanaPrincipal);
    glutReshapeWindow(800, 600);
    ASSERT_TRUE(zk::bombearHasta([] { return width == 800 && height == 600; }, 3000));
    zk::bombear(100);
    EXPECT_EQ(tamano(GLUT_WINDOW_WIDTH), 800);
    EXPECT_EQ(tamano(GLUT_WINDOW_HEIGHT), 30);

    // a main window under 20 pixels tall still gets a strip of 1 pixel
    glutSetWindow(ventanaPrincipal);
    glutReshapeWindow(300, 15);
    ASSERT_TRUE(zk::bombearHasta([] { return height == 15; }, 3000));
    zk::bombear(100);
    EXPECT_EQ(tamano(GLUT_WINDOW_HEIGHT), 1);
    EXPECT_EQ(tamano(GLUT_WINDOW_WIDTH), 300);
    glutSetWindow(ventanaPrincipal);
    glutReshapeWindow(640, 640);
    zk::bombear(100);
}

TEST_F(Tira, ShowsScoreLivesEnergyAndRateInWhiteInsideABlueFrame)
{
    mostrar();
    auto todo = capturar();

    // the frame: one closed loop of four lines, blue, just inside the edges
    std::vector<zk::FbVertex> linea;
    for (const zk::FbPrimitive& p : todo)
        if (p.token == GL_LINE_TOKEN || p.token == GL_LINE_RESET_TOKEN)
            linea.insert(linea.end(), p.v.begin(), p.v.end());
    ASSERT_EQ(linea.size(), 8u);
    for (const zk::FbVertex& v : linea) {
        EXPECT_FLOAT_EQ(v.b, 1.0f);
        EXPECT_FLOAT_EQ(v.r + v.g, 0.0f);
        EXPECT_TRUE(v.x == 0.0f || std::fabs(v.x - 0.999f * 640) < 0.01f) << v.x;
        EXPECT_TRUE(v.y == 0.0f || std::fabs(v.y - 0.99f * 24) < 0.01f) << v.y;
    }

    auto t = textos(todo);
    ASSERT_EQ(t.size(), 4u);
    esperarTexto(t[32], "Puntaje = 0 ", 32);
    esperarTexto(t[192], "Vidas = 3 ", 192);
    esperarTexto(t[352], "Energia = 100 ", 352);
    esperarTexto(t[512], "FPS = 58 ", 512);

    glutSetWindow(ventanaScore);
    EXPECT_EQ(zk::getFloat4(GL_COLOR_CLEAR_VALUE), (std::array<float, 4>{0.25f, 0.25f, 0.25f, 1.0f}));
    EXPECT_FALSE(zk::enabled(GL_LIGHTING));
    EXPECT_FALSE(zk::enabled(GL_DEPTH_TEST));
    EXPECT_FALSE(zk::enabled(GL_BLEND));
}

TEST_F(Tira, NegativeAndExtremeNumbersAreShownWhole)
{
    mostrar();
    puntaje = -80;
    vidas = 2;
    fps = 500;
    energia = 25;
    auto t = textos(capturar());
    esperarTexto(t[32], "Puntaje = -80 ", 32);
    esperarTexto(t[192], "Vidas = 2 ", 192);
    esperarTexto(t[352], "Energia = 25 ", 352);
    esperarTexto(t[512], "FPS = 500 ", 512);

    puntaje = INT_MIN;
    t = textos(capturar());
    esperarTexto(t[32], "Puntaje = -2147483648 ", 32);
}

TEST_F(Tira, GameOverReplacesTheEnergyInRed)
{
    mostrar();
    gameOver = true;
    energia = 0;
    vidas = 0;
    auto t = textos(capturar());
    ASSERT_EQ(t.size(), 4u);
    esperarTexto(t[32], "Puntaje = 0 ", 32);
    esperarTexto(t[192], "Vidas = 0 ", 192);
    esperarTexto(t[352], "GameOver", 352, true);
    esperarTexto(t[512], "FPS = 58 ", 512);
}

TEST_F(Tira, ScoreChangesPostARedisplayOfTheStrip)
{
    mostrar();
    int dibujos = 0;
    static int* contador = &dibujos;
    glutSetWindow(ventanaScore);
    glutDisplayFunc([] {
        (*contador)++;
        displayScore();
    });
    zk::bombear(100);
    dibujos = 0;
    empezarJuego();
    disparos.push_back(new Disparo(posicionesInvasores[0][0], posicionesInvasores[0][1],
                                   posicionesInvasores[0][2], 0, 0, 0));
    actualizarJuego(0);
    ASSERT_EQ(puntaje, 10);
    EXPECT_TRUE(zk::bombearHasta([&] { return dibujos > 0; }, 2000));
}

// After each change of size the strip's last frame, read back in its own
// context, holds all four texts in white across its whole new width; a frame
// drawn into a buffer still of the old size would lose its right part.
TEST_F(Tira, AfterEveryReshapeTheWholeLineShowsAtOnce)
{
    static std::vector<unsigned char> px;
    static int reshapes;
    glutSetWindow(ventanaPrincipal);
    glutReshapeFunc(reshape);
    alternarScore();
    glutSetWindow(ventanaScore);
    glutReshapeFunc([](int w, int h) {
        reshapes++;
        reshapeScore(w, h);
    });
    glutDisplayFunc([] {
        displayScore();
        // the buffer keeps the frame after the swap; pixels past a buffer of
        // the old size keep their filler
        px.assign((size_t)width * (height / 20) * 4, 0x10);
        glReadPixels(0, 0, width, height / 20, GL_RGBA, GL_UNSIGNED_BYTE, px.data());
    });
    for (const auto& c : {std::array<int, 2>{900, 700}, {500, 640}, {1200, 900}, {0, 0}}) {
        zk::bombear(200);
        const int antes = reshapes;
        glutSetWindow(ventanaPrincipal);
        c[0] == 0 ? glutFullScreen() : glutReshapeWindow(c[0], c[1]);
        // generous: a full-screen frame under the sanitizers on a busy machine is slow
        ASSERT_TRUE(zk::bombearHasta([&] { return reshapes > antes; }, 10000)) << c[0];
        // every text of the line in the strip's newest frame, at the new size;
        // nothing changes the score here, so only the reshape can bring it
        int blancos[4] = {0, 0, 0, 0};
        auto completa = [&] {
            if (px.size() != (size_t)width * (height / 20) * 4)
                return false;
            std::fill(blancos, blancos + 4, 0);
            for (size_t k = 0; k < px.size(); k += 4)
                if (px[k] > 200 && px[k + 2] > 200 && (double)(k / 4 % width) / width >= 0.05)
                    blancos[std::min(3, (int)((double)(k / 4 % width) / width / 0.25 - 0.2))]++;
            return *std::min_element(blancos, blancos + 4) > 20;
        };
        EXPECT_TRUE(zk::bombearHasta(completa, 10000))
            << "line cut short at " << width << " x " << height << ": " << blancos[0] << " " << blancos[1]
            << " " << blancos[2] << " " << blancos[3] << " (" << px.size() / 4 << " pixels read)";
    }
}

// In English every text of the strip ends before the next one starts, as
// the Spanish ones do, and the pause says "Paused", centred.
TEST_F(Tira, InEnglishTheStripAndThePauseSpeakEnglishAndFit)
{
    setenv("LC_ALL", "en_US.UTF-8", 1);
    unsetenv("LANGUAGE");
    zk_idioma_iniciar();
    ASSERT_STREQ(zk_tr("Pausa"), "Paused") << "en_US.UTF-8 is not generated: run the suite through ./test.sh";
    mostrar();
    auto cabe = [](const Texto& t, const char* s, int siguiente) {
        ASSERT_FALSE(t.avances.empty());
        const float fin = t.avances.back() + (float)glutBitmapWidth(GLUT_BITMAP_HELVETICA_18, s[strlen(s) - 1]);
        EXPECT_LE(fin, (float)siguiente) << s;
    };
    puntaje = -2147483647;
    energia = 100;
    fps = 500;
    auto t = textos(capturar());
    esperarTexto(t[32], "Score = -2147483647 ", 32);
    esperarTexto(t[192], "Lives = 3 ", 192);
    esperarTexto(t[352], "Energy = 100 ", 352);
    esperarTexto(t[512], "FPS = 500 ", 512);
    cabe(t[192], "Lives = 3 ", 352);
    cabe(t[352], "Energy = 100 ", 512);
    cabe(t[512], "FPS = 500 ", 640);
    gameOver = true;
    t = textos(capturar());
    esperarTexto(t[352], "Game Over", 352, true);
    cabe(t[352], "Game Over", 512);

    pausa = 1;
    pausaVisible = true;
    glutSetWindow(ventanaPrincipal);
    std::vector<float> xs;
    for (const zk::FbPrimitive& p : zk::captureFeedback(dibujarPausa))
        if (p.token == GL_BITMAP_TOKEN)
            xs.push_back(p.v[0].x);
    const int ancho = glutBitmapLength(GLUT_BITMAP_HELVETICA_18, (const unsigned char*)"Paused");
    EXPECT_EQ(xs, avancesDe("Paused", (float)((glutGet(GLUT_WINDOW_WIDTH) - ancho) / 2)));
}
