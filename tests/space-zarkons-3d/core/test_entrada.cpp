// Keys, arrows, the mouse camera move and the popup menu, driven by calling
// the input callbacks directly on a real window.
#include "juego_prueba.h"

#include "Disparo.h"
#include "DisplayListFactory.h"
#include "Nave1.h"

#include <GL/freeglut.h>

#include <cmath>
#include <fcntl.h>
#include <fstream>
#include <sstream>

using zk::Juego;

namespace
{

void pulsar(unsigned char tecla)
{
    keyboard(tecla, 0, 0);
    keyboardUp(tecla, 0, 0);
}

// A left-button drag from (x0, y0) to (x1, y1) in window pixels.
void arrastrar(int x0, int y0, int x1, int y1)
{
    mouse(GLUT_LEFT_BUTTON, GLUT_DOWN, x0, y0);
    mouse(GLUT_LEFT_BUTTON, GLUT_UP, x1, y1);
}

bool ojoCerca(float x, float y, float z, float tolerancia)
{
    return std::fabs(camara->getOjoX() - x) <= tolerancia && std::fabs(camara->getOjoY() - y) <= tolerancia &&
           std::fabs(camara->getOjoZ() - z) <= tolerancia;
}

class JuegoSinEscena : public Juego
{
  protected:
    JuegoSinEscena() { montar = false; }
};

class JuegoSinMisil : public Juego
{
  protected:
    JuegoSinMisil() { faltan.misil = true; }
};

} // namespace

TEST_F(Juego, HeldArrowsStopAtTheEdgesOfTheBox)
{
    empezarJuego();
    for (int i = 0; i < 40; i++) {
        special(GLUT_KEY_LEFT, 0, 0);
        if (i == 30) {
            EXPECT_FLOAT_EQ(nave->getX(), -31.0f);
        }
    }
    EXPECT_FLOAT_EQ(nave->getX(), -31.0f);
    EXPECT_FLOAT_EQ(nave->getRotacionZ(), -93.0f);
    specialUp(GLUT_KEY_LEFT, 0, 0);
    EXPECT_FALSE(teclaIzquierda);

    for (int i = 0; i < 80; i++)
        special(GLUT_KEY_RIGHT, 0, 0);
    EXPECT_FLOAT_EQ(nave->getX(), 31.0f);
    for (int i = 0; i < 60; i++)
        special(GLUT_KEY_UP, 0, 0);
    EXPECT_FLOAT_EQ(nave->getY(), 26.0f);
    specialUp(GLUT_KEY_UP, 0, 0);
    for (int i = 0; i < 60; i++)
        special(GLUT_KEY_DOWN, 0, 0);
    EXPECT_FLOAT_EQ(nave->getY(), -26.0f);

    // other special keys set nothing
    specialUp(GLUT_KEY_RIGHT, 0, 0);
    specialUp(GLUT_KEY_DOWN, 0, 0);
    special(GLUT_KEY_F1, 0, 0);
    EXPECT_FALSE(teclaArriba || teclaAbajo || teclaDerecha || teclaIzquierda);
}

TEST_F(Juego, PauseIgnoresArrowPressesButAnyKeyStillAppliesHeldArrows)
{
    empezarJuego();
    pausa = 1;
    special(GLUT_KEY_LEFT, 0, 0);
    EXPECT_FALSE(teclaIzquierda);
    EXPECT_FLOAT_EQ(nave->getX(), 0.0f);

    pausa = 0;
    special(GLUT_KEY_LEFT, 0, 0);
    EXPECT_FLOAT_EQ(nave->getX(), -1.0f);
    pausa = 1;
    keyboard('w', 0, 0); // an ordinary key runs the held keys, paused or not
    EXPECT_FLOAT_EQ(nave->getX(), -2.0f);
    keyboardUp('w', 0, 0); // a release does not while paused
    EXPECT_FLOAT_EQ(nave->getX(), -2.0f);
    specialUp(GLUT_KEY_LEFT, 0, 0); // the flag clears, paused or not
    EXPECT_FALSE(teclaIzquierda);
    keyboard('w', 0, 0);
    EXPECT_FLOAT_EQ(nave->getX(), -2.0f);
}

TEST_F(Juego, FireKeyGivesOneShotPerReloadFromAlternatingGuns)
{
    empezarJuego();
    keyboard(' ', 0, 0); // not reloaded yet: refused, but the gun side turns
    EXPECT_TRUE(teclaDisparo);
    EXPECT_TRUE(disparos.empty());
    timerRecarga(0);
    for (int i = 0; i < 5; i++)
        keyboard(' ', 0, 0); // the platform's key repeat
    ASSERT_EQ(disparos.size(), 1u);
    EXPECT_FLOAT_EQ(disparos[0]->getX(), -4.0f);
    EXPECT_FLOAT_EQ(disparos[0]->getZ(), 55.0f);
    timerRecarga(0);
    keyboard('d', 0, 0); // five refused attempts turned the side to +x
    ASSERT_EQ(disparos.size(), 2u);
    EXPECT_FLOAT_EQ(disparos[1]->getX(), 4.0f);

    keyboardUp('D', 0, 0);
    EXPECT_FALSE(teclaDisparo);
    timerRecarga(0);
    keyboard('x', 0, 0);
    EXPECT_EQ(disparos.size(), 2u);

    // a new shot waits for the next tick to move
    actualizarJuego(0);
    EXPECT_FLOAT_EQ(disparos[0]->getZ(), 54.0f);
}

TEST_F(Juego, FireIsRefusedWhileTheShipIsLostOrTheGameIsOver)
{
    empezarJuego();
    timerRecarga(0);
    naveDestruida = true;
    keyboard(' ', 0, 0);
    keyboard(' ', 0, 0);
    EXPECT_TRUE(disparos.empty());
    // the arrows still move the invisible ship
    special(GLUT_KEY_RIGHT, 0, 0);
    EXPECT_FLOAT_EQ(nave->getX(), 1.0f);
    naveDestruida = false;
    gameOver = true;
    keyboard(' ', 0, 0);
    keyboard(' ', 0, 0);
    EXPECT_TRUE(disparos.empty());
}

TEST_F(Juego, SpeedKeysAndMenuStayAtOrAbove2Ms)
{
    const int fpsTrasPulsar[] = {62, 71, 83, 100, 125, 166, 250, 500};
    for (int i = 0; i < 8; i++) {
        keyboard('+', 0, 0);
        EXPECT_EQ(fps, fpsTrasPulsar[i]) << "press " << i + 1;
        keyboardUp('+', 0, 0);
    }
    EXPECT_EQ(periodo, 2);
    EXPECT_EQ(fps, 500);
    pulsar('+');
    menuVelocidad(1);
    EXPECT_EQ(periodo, 2);

    periodo = 1000;
    keyboard('-', 0, 0);
    EXPECT_EQ(periodo, 1001);
    EXPECT_EQ(fps, 0);
    menuVelocidad(2);
    EXPECT_EQ(periodo, 1002);
    menuVelocidad(1);
    EXPECT_EQ(periodo, 1001);
    EXPECT_EQ(fps, 0);
    periodo = 1001;
    menuVelocidad(1);
    EXPECT_EQ(fps, 1);
}

TEST_F(Juego, DisplayKeysAndMenuEntriesFlipTheirSettings)
{
    EXPECT_FALSE(camara->getOrtho());
    pulsar('o');
    EXPECT_TRUE(camara->getOrtho());
    pulsar('O');
    EXPECT_FALSE(camara->getOrtho());
    menuProyeccion(0);
    menuProyeccion(0);
    EXPECT_TRUE(camara->getOrtho());
    menuProyeccion(7);
    EXPECT_TRUE(camara->getOrtho());
    menuProyeccion(1);
    EXPECT_FALSE(camara->getOrtho());

    pulsar('w');
    EXPECT_TRUE(wireframe);
    menuPrincipal(0);
    EXPECT_FALSE(wireframe);
    pulsar('I');
    EXPECT_TRUE(facetado);
    menuPrincipal(4);
    EXPECT_FALSE(facetado);
    menuPrincipal(99);
    EXPECT_FALSE(wireframe || facetado || mostrarScore);

    int pausaAntes = pausa;
    pulsar('P');
    EXPECT_EQ(pausa, 1 - pausaAntes);
    menuVelocidad(0);
    EXPECT_EQ(pausa, pausaAntes);

    // the ship takes the enemy model and back; both are already loaded
    pulsar('c');
    EXPECT_EQ(Nave1::modelo, DisplayListFactory::getNaveOpen());
    pulsar('R');
    EXPECT_EQ(Nave1::modelo, DisplayListFactory::getNave1Chico());

    pulsar('s');
    EXPECT_TRUE(mostrarScore);
    menuPrincipal(2);
    EXPECT_FALSE(mostrarScore);
}

TEST_F(Juego, LightsMenuChangesTheMainWindowsLights)
{
    alternarScore();
    glutSetWindow(ventanaScore);
    menuLuces(1);
    menuLuces(2);
    menuLuces(3);
    menuLuces(6);
    menuLuces(-1);
    glutSetWindow(ventanaPrincipal);
    EXPECT_TRUE(zk::enabled(GL_LIGHT1));
    EXPECT_TRUE(zk::enabled(GL_LIGHT2));
    EXPECT_FALSE(zk::enabled(GL_LIGHT0));
    menuLuces(0);
    menuLuces(4);
    menuLuces(5);
    EXPECT_TRUE(zk::enabled(GL_LIGHT0));
    EXPECT_FALSE(zk::enabled(GL_LIGHT1));
    EXPECT_FALSE(zk::enabled(GL_LIGHT2));
}

TEST_F(Juego, MenusHoldTheirEntries)
{
    // crearMenus made four menus in a row, the main one first
    int principal = glutGetMenu();
    ASSERT_GT(principal, 0);
    const int entradas[] = {8, 2, 3, 6};
    for (int i = 0; i < 4; i++) {
        glutSetMenu(principal + i);
        EXPECT_EQ(glutGet(GLUT_MENU_NUM_ITEMS), entradas[i]) << "menu " << i;
    }
}

TEST_F(Juego, SalirAndEscapeEndTheProgramWithStatus0)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(menuPrincipal(3), ::testing::ExitedWithCode(0), "");
    EXPECT_EXIT(keyboard(27, 0, 0), ::testing::ExitedWithCode(0), "");
}

TEST_F(Juego, DragsThatLeaveTheSphereAreRefused)
{
    empezarJuego();
    camara->setOjoX(0.0f);
    camara->setOjoY(0.0f);
    // 320 pixels right is exactly 43 units
    arrastrar(0, 300, 320, 300);
    EXPECT_EQ(pausa, 0);
    EXPECT_FLOAT_EQ(destinoCamara[2], 0.0f);
    arrastrar(300, 300, 300, 60); // 240 pixels up: y 43
    EXPECT_EQ(pausa, 0);
    // within ±43 on each axis but outside the sphere
    arrastrar(0, 300, 300, 200);
    EXPECT_EQ(pausa, 0);
    EXPECT_FLOAT_EQ(destinoCamara[2], 0.0f);

    // the right and middle buttons do nothing
    mouse(GLUT_RIGHT_BUTTON, GLUT_DOWN, 0, 0);
    mouse(GLUT_RIGHT_BUTTON, GLUT_UP, 100, 0);
    EXPECT_EQ(pausa, 0);
    EXPECT_FLOAT_EQ(clickX, 0.0f); // still the left press of the last drag

    // just inside: the eye goes onto the sphere around (0, 0, 40)
    arrastrar(0, 300, 319, 300);
    EXPECT_EQ(pausa, 1);
    float x = destinoCamara[0], y = destinoCamara[1], z = destinoCamara[2];
    EXPECT_NEAR(x, 319 * 86.0 / 640.0, 1e-4);
    EXPECT_FLOAT_EQ(y, 0.0f);
    EXPECT_NEAR(x * x + y * y + (z - 40) * (z - 40), 43.0 * 43.0, 0.05);
    EXPECT_GT(z, 40.0f);
}

TEST_F(Juego, ACameraMoveEndsWithin50RunsNearItsTargetAndUnpauses)
{
    empezarJuego();
    arrastrar(320, 320, 420, 250); // right and up
    ASSERT_EQ(pausa, 1);
    EXPECT_GT(destinoCamara[0], camara->getOjoX());
    EXPECT_GT(destinoCamara[1], camara->getOjoY());
    int corridas = 0;
    while (pausa == 1 && corridas < 100) {
        timerCamara(0);
        corridas++;
    }
    EXPECT_LE(corridas, 50);
    EXPECT_EQ(pausa, 0);
    EXPECT_TRUE(ojoCerca(destinoCamara[0], destinoCamara[1], destinoCamara[2], 1.0f));
}

TEST_F(Juego, AClickWithoutMovementPutsTheEyeOnTheSphereAndUnpauses)
{
    empezarJuego();
    arrastrar(200, 200, 200, 200);
    ASSERT_EQ(pausa, 1);
    EXPECT_FLOAT_EQ(destinoCamara[0], 1.25f);
    EXPECT_FLOAT_EQ(destinoCamara[1], 1.25f);
    EXPECT_NEAR(destinoCamara[2], 40 + std::sqrt(43.0 * 43.0 - 2 * 1.25 * 1.25), 1e-3);
    // already within 1.0 of it: one run ends the move, and the game is un-paused
    timerCamara(0);
    EXPECT_EQ(pausa, 0);
}

TEST_F(Juego, TwoQuickReleasesMakeOneMoveThatStopsAtTheLastTarget)
{
    empezarJuego();
    // from the far right of the sphere across to the far left: steps of 1.4
    camara->setOjoX(35.0f);
    camara->setOjoY(0.0f);
    camara->setOjoZ(65.0f);
    arrastrar(600, 320, 80, 320);
    zk::bombear(100);
    arrastrar(600, 320, 80, 320); // retargets the running move
    float x = destinoCamara[0], y = destinoCamara[1], z = destinoCamara[2];
    ASSERT_LT(x, -30.0f);
    ASSERT_TRUE(zk::bombearHasta([] { return pausa == 0; }, 5000));
    zk::bombear(300);
    // nothing went on moving the eye past its target
    EXPECT_TRUE(ojoCerca(x, y, z, 1.0f))
        << "eye at " << camara->getOjoX() << ", " << camara->getOjoY() << ", " << camara->getOjoZ()
        << ", target " << x << ", " << y << ", " << z;
    float ox = camara->getOjoX();
    zk::bombear(300);
    EXPECT_EQ(camara->getOjoX(), ox);
    // and a later drag is still accepted
    arrastrar(320, 320, 330, 320);
    EXPECT_EQ(pausa, 1);
}

TEST_F(JuegoSinEscena, AClickDuringTheFlyInDoesNotStopTheGameFromStarting)
{
    init();
    // the eye is still at (-25, -25, 100): a click there pulls it onto the sphere
    arrastrar(100, 100, 100, 100);
    ASSERT_EQ(pausa, 1);
    ASSERT_TRUE(zk::bombearHasta([] { return rondasDisparo >= 1; }, 10000))
        << "the fly-in never ended: eye at " << camara->getOjoX() << ", " << camara->getOjoY() << ", "
        << camara->getOjoZ();
    EXPECT_GE(camara->getOjoX(), -5.0f); // swayed at most 5 from where the fly-in ended
    EXPECT_EQ(pausa, 0);
    // the move ended too, after at most 50 runs, instead of driving the eye on
    float z = camara->getOjoZ();
    EXPECT_GT(z, 40.0f);
    EXPECT_LT(z, 90.0f);
    zk::bombear(300);
    EXPECT_EQ(camara->getOjoZ(), z);
}

TEST_F(Juego, ShotsAreCompiledIntoTheMainWindowWhateverWindowIsCurrent)
{
    empezarJuego();
    alternarScore();
    keyboard(' ', 0, 0); // refused: not reloaded
    timerRecarga(0);
    // '-' posts a redisplay of the strip, which leaves it current, then fires
    keyboard('-', 0, 0);
    ASSERT_EQ(disparos.size(), 1u);
    ASSERT_NE(Disparo::modeloDisparo, nullptr);
    glutSetWindow(ventanaScore);
    EXPECT_FALSE(glIsList(*Disparo::modeloDisparo));
    glutSetWindow(ventanaPrincipal);
    EXPECT_TRUE(glIsList(*Disparo::modeloDisparo));
    zk::useOrthoBox(100);
    auto dibujado = zk::captureFeedback([] { disparos[0]->render(); });
    EXPECT_FALSE(dibujado.empty());
}

TEST_F(JuegoSinMisil, AMissingMissileModelEndsTheGameWithAClearLine)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    empezarJuego();
    timerRecarga(0);
    // the child writes its standard output where this process can read it
    std::string ruta = "/tmp/zk-core-salida-" + std::to_string(getpid());
    EXPECT_EXIT(
        {
            std::string mia = "/tmp/zk-core-salida-" + std::to_string(getppid());
            int fd = open(mia.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            dup2(fd, 1);
            keyboard(' ', 0, 0);
        },
        ::testing::ExitedWithCode(1), "");
    std::ifstream f(ruta);
    std::stringstream texto;
    texto << f.rdbuf();
    unlink(ruta.c_str());
    EXPECT_NE(texto.str().find("No se pudieron cargar los modelos del juego"), std::string::npos)
        << texto.str();
    EXPECT_TRUE(disparos.empty());
}

// F makes the window full screen, and F again puts it back as it was.
TEST_F(Juego, FullScreenKeyTogglesAndRestoresTheWindow)
{
    glutPositionWindow(100, 60);
    glutReshapeWindow(500, 400);
    const auto tamano = [](int w, int h) {
        return [=] {
            glutSetWindow(ventanaPrincipal);
            return glutGet(GLUT_WINDOW_WIDTH) == w && glutGet(GLUT_WINDOW_HEIGHT) == h;
        };
    };
    // (full screen, freeglut's position is not the screen's: only the size tells)
    const auto ventana = [tamano] {
        return tamano(500, 400)() && glutGet(GLUT_WINDOW_X) == 100 && glutGet(GLUT_WINDOW_Y) == 60;
    };
    ASSERT_TRUE(zk::bombearHasta(ventana, 10000));
    const auto pantalla = tamano(glutGet(GLUT_SCREEN_WIDTH), glutGet(GLUT_SCREEN_HEIGHT));
    for (int vez = 0; vez < 2; vez++) {
        pulsar('f');
        EXPECT_TRUE(zk::bombearHasta(pantalla, 10000)) << "not full screen, time " << vez + 1;
        pulsar('F');
        EXPECT_TRUE(zk::bombearHasta(ventana, 10000))
            << "not back, time " << vez + 1 << ": " << glutGet(GLUT_WINDOW_X) << " " << glutGet(GLUT_WINDOW_Y)
            << " " << glutGet(GLUT_WINDOW_WIDTH) << " " << glutGet(GLUT_WINDOW_HEIGHT);
    }
    // the menu's entry is the same toggle
    menuPrincipal(1);
    EXPECT_TRUE(zk::bombearHasta(pantalla, 10000));
    menuPrincipal(1);
    EXPECT_TRUE(zk::bombearHasta(ventana, 10000));
}
