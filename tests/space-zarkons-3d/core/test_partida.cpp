// One game after another: Intro after a lost game, the timers' chains over
// many games, the player's "Pausa" and the pause a hidden window brings.
#include "juego_prueba.h"

#include "Disparo.h"
#include "DisparoE.h"
#include "DisplayListFactory.h"
#include "Invasor.h"
#include "Nave1.h"
#include "ParticleRegistry.h"
#include "ParticleSystem.h"
#include "Skybox.h"

#include <GL/freeglut.h>

#include <chrono>
#include <string>
#include <vector>

using zk::Juego;

namespace
{

// Everything a new game starts from, read back field by field.
struct Arranque {
    std::vector<float> valores;
    std::vector<std::string> nombres;
    void poner(const char* nombre, float v)
    {
        nombres.push_back(nombre);
        valores.push_back(v);
    }
};

Arranque leerArranque()
{
    Arranque a;
    a.poner("puntaje", (float)puntaje);
    a.poner("vidas", (float)vidas);
    a.poner("energia", (float)energia);
    a.poner("periodo", (float)periodo);
    a.poner("fps", (float)fps);
    a.poner("pausa", (float)pausa);
    a.poner("pausaVisible", pausaVisible);
    a.poner("naveDestruida", naveDestruida);
    a.poner("gameOver", gameOver);
    a.poner("rondasDisparo", (float)rondasDisparo);
    a.poner("mostrarRecords", mostrarRecords);
    a.poner("teclas", teclaArriba + teclaAbajo + teclaDerecha + teclaIzquierda + teclaDisparo);
    a.poner("nave x", nave->getX());
    a.poner("nave y", nave->getY());
    a.poner("nave z", nave->getZ());
    a.poner("nave rx", nave->getRotacionX());
    a.poner("nave ry", nave->getRotacionY());
    a.poner("nave rz", nave->getRotacionZ());
    a.poner("nave energia", (float)nave->getEnergia());
    a.poner("nave vx", nave->getVelocidadX());
    a.poner("nave vy", nave->getVelocidadY());
    a.poner("nave vz", nave->getVelocidadZ());
    a.poner("explosion de la nave en curso", ParticleRegistry::getInstance()->contains(nave->getExplosion()));
    a.poner("invasores", (float)invasores.size());
    for (const Invasor* i : invasores) {
        a.poner("invasor x", i->getX());
        a.poner("invasor y", i->getY());
        a.poner("invasor z", i->getZ());
        a.poner("invasor destruido", i->estaDestruido());
    }
    a.poner("disparos", (float)disparos.size());
    a.poner("disparos enemigos", (float)disparosEnemigos.size());
    a.poner("explosiones", (float)ParticleRegistry::getInstance()->entries().size());
    a.poner("ojo x", camara->getOjoX());
    a.poner("ojo y", camara->getOjoY());
    a.poner("ojo z", camara->getOjoZ());
    a.poner("paso x", camara->getPasoX());
    a.poner("paso y", camara->getPasoY());
    a.poner("paso z", camara->getPasoZ());
    a.poner("balanceo", (float)camara->getContadorBalanceo());
    a.poner("sentido", (float)camara->getSentidoBalanceo());
    a.poner("sistemas de particulas", (float)ParticleSystem::instances());
    a.poner("objetos", (float)Dibujable::getInstancias());
    return a;
}

// The shot one step short of the ship, so the next tick's move hits it.
void dispararANave()
{
    disparosEnemigos.push_back(new DisparoE(nave->getX(), nave->getY(), nave->getZ() - 1.0f, 0, 0, 0));
}

// A lost game with everything in it: faster, shots fired, a ship and the
// player's ship burst, the ship moved and tilted, a key held, the camera
// swayed and moving, and finally the formation arriving.
void perderUnaPartidaRevuelta()
{
    zk::empezarJuego();
    keyboard('+', 0, 0);
    keyboardUp('+', 0, 0);
    timerRecarga(0);
    keyboard(' ', 0, 0);
    disparos.push_back(new Disparo(posicionesInvasores[0][0], posicionesInvasores[0][1],
                                   posicionesInvasores[0][2], 0, 0, 0));
    special(GLUT_KEY_LEFT, 0, 0);
    for (int i = 0; i < 4; i++) {
        dispararANave();
        actualizarJuego(0);
    }
    timerLento(0);
    timerDisparoEnemigo(0);
    mouse(GLUT_LEFT_BUTTON, GLUT_DOWN, 300, 300);
    mouse(GLUT_LEFT_BUTTON, GLUT_UP, 340, 300);
    for (int i = 0; i < 2000 && !gameOver; i++) {
        pausa = 0;
        actualizarJuego(0);
    }
}

// White pixels of the "Pausa" in the middle of the window, in a frame with
// the star field always turned the same (it turns a degree every frame).
int blancosEnElCentro()
{
    skybox->setRotacionX(0.0f);
    skybox->setRotacionY(0.0f);
    display();
    const std::vector<unsigned char> px = zk::readPixels(270, 300, 100, 40);
    int n = 0;
    for (size_t i = 0; i < px.size(); i += 4)
        n += (px[i] > 200 && px[i + 1] > 200 && px[i + 2] > 200) ? 1 : 0;
    return n;
}

// Texture objects alive in the window's context.
int contarTexturas()
{
    return zk::contarObjetosGL(glIsTexture);
}

} // namespace

TEST_F(Juego, IntroAfterALostGameStartsOneAsAFreshLaunchDoesQuietly)
{
    const Arranque fresco = leerArranque();

    // nothing to play again while the game goes on
    keyboard('\r', 0, 0);
    EXPECT_EQ(leerArranque().valores, fresco.valores);

    perderUnaPartidaRevuelta();
    ASSERT_TRUE(gameOver);
    ASSERT_TRUE(puedeJugarDeNuevo());
    ASSERT_NE(leerArranque().valores, fresco.valores);

    const int leidos = DisplayListFactory::getCargas();
    zk::StdoutCapture salida;
    keyboard('\r', 0, 0);
    // the old game's objects go without the lines of ships and shots destroyed
    EXPECT_EQ(salida.finish(), "");
    const Arranque nuevo = leerArranque();
    ASSERT_EQ(nuevo.valores.size(), fresco.valores.size());
    for (size_t i = 0; i < fresco.valores.size(); i++)
        EXPECT_EQ(nuevo.valores[i], fresco.valores[i]) << fresco.nombres[i];
    EXPECT_EQ(DisplayListFactory::getCargas(), leidos) << "a model was read again";
    EXPECT_EQ(partida, 1);
}

// Ten lost games, each ended at another moment: in the fly-in, with a camera
// move running, with the ship waiting for its next life. Every timer of an
// old game does nothing when it runs, so one chain of each kind is left and
// the ship reloads and the formation fires as often as in a fresh launch.
TEST_F(Juego, TenIntrosLeaveOneChainOfEachAndTheRatesOfAFreshLaunch)
{
    // the missile model loads with the first shot of the process, not of a game
    nave->recargar();
    Dibujable::eliminarSinAviso(nave->disparar());
    const int texturas = contarTexturas();
    armarTimer(CADENA_INTRO, 50, timerIntro);
    armarTimer(CADENA_JUEGO, (unsigned)periodo, actualizarJuego);
    armarTimer(CADENA_LENTO, 100, timerLento);
    const int objetos = Dibujable::getInstancias();

    for (int i = 0; i < 10; i++) {
        zk::bombear(80 + 120 * i);
        if (i % 2 == 1) {
            mouse(GLUT_LEFT_BUTTON, GLUT_DOWN, 300, 300);
            mouse(GLUT_LEFT_BUTTON, GLUT_UP, 320, 290);
        }
        if (i % 3 == 0) {
            // four shots on the ship in one tick of the running chain
            for (int h = 0; h < 4; h++)
                dispararANave();
            pausa = 0;
            ASSERT_TRUE(zk::bombearHasta([] { return naveDestruida; }, 1000));
        }
        gameOver = true;
        keyboard('\r', 0, 0);
        EXPECT_EQ(Dibujable::getInstancias(), objetos) << "game " << i;
    }
    EXPECT_EQ(partida, 10);

    // the last fly-in ends; the ship stands clear of the enemy fire
    ASSERT_TRUE(zk::bombearHasta([] { return pausa == 0; }, 5000));
    nave->setY(20.0f);
    teclaDisparo = true;
    int tiros = 0;
    const auto fin = std::chrono::steady_clock::now() + std::chrono::milliseconds(4500);
    while (std::chrono::steady_clock::now() < fin) {
        const size_t antes = disparos.size();
        aplicarTeclas();
        tiros += disparos.size() > antes ? 1 : 0;
        zk::bombear(1);
    }
    // 200 ms a reload (22 in 4.5 s, a few less on a busy machine; two chains
    // would give twice as many), a volley at 2000 ms and the next 1999 ms later
    EXPECT_GE(tiros, 17);
    EXPECT_LE(tiros, 23);
    EXPECT_EQ(rondasDisparo, 2);
    EXPECT_FALSE(naveDestruida) << "an old game's respawn ran in this one";
    EXPECT_EQ(vidas, 3);
    const int una[CADENAS] = {1, 1, 0, 1, 1, 0, 0, 0};
    for (int c = 0; c < CADENAS; c++)
        EXPECT_EQ(cadenasArmadas((Cadena)c), una[c]) << "chain " << c;

    // the new formations' sparks took the old ones' textures
    EXPECT_EQ(contarTexturas(), texturas);
}

TEST_F(Juego, PausaShowsForThePlayersPauseOverAnUnchangedScene)
{
    empezarJuego();
    EXPECT_LT(blancosEnElCentro(), 10);
    const std::vector<unsigned char> jugando = zk::readPixels(0, 0, 640, 640);

    keyboard('p', 0, 0);
    ASSERT_EQ(pausa, 1);
    EXPECT_GT(blancosEnElCentro(), 40) << "no Pausa";
    // only the middle of the window changed
    const std::vector<unsigned char> pausado = zk::readPixels(0, 0, 640, 640);
    int fuera = 0;
    for (int y = 0; y < 640; y++)
        for (int x = 0; x < 640; x++) {
            const size_t i = ((size_t)y * 640 + (size_t)x) * 4;
            const bool centro = x >= 270 && x < 370 && y >= 300 && y < 340;
            fuera += !centro && pausado[i] != jugando[i] ? 1 : 0;
        }
    EXPECT_EQ(fuera, 0);

    // the menu's entry resumes it; the camera move's own pause shows nothing
    menuVelocidad(0);
    EXPECT_EQ(pausa, 0);
    EXPECT_LT(blancosEnElCentro(), 10);
    mouse(GLUT_LEFT_BUTTON, GLUT_DOWN, 300, 300);
    mouse(GLUT_LEFT_BUTTON, GLUT_UP, 300, 300);
    ASSERT_EQ(pausa, 1);
    EXPECT_LT(blancosEnElCentro(), 10);
}

TEST_F(Juego, AHiddenWindowPausesTheGameUntilThePlayerResumes)
{
    empezarJuego();
    estadoVentana(GLUT_HIDDEN);
    EXPECT_EQ(pausa, 1);
    // while away the volleys wait, and do not quicken
    timerDisparoEnemigo(0);
    EXPECT_EQ(rondasDisparo, 0);
    EXPECT_TRUE(disparosEnemigos.empty());
    estadoVentana(GLUT_FULLY_RETAINED);
    EXPECT_GT(blancosEnElCentro(), 40) << "no Pausa when the window shows again";

    // nothing moves, and the end of a camera move does not resume the game
    const float x = nave->getX();
    special(GLUT_KEY_LEFT, 0, 0);
    specialUp(GLUT_KEY_LEFT, 0, 0);
    mouse(GLUT_LEFT_BUTTON, GLUT_DOWN, 300, 300);
    mouse(GLUT_LEFT_BUTTON, GLUT_UP, 300, 300);
    ASSERT_TRUE(zk::bombearHasta([] { return cadenasArmadas(CADENA_CAMARA) == 0; }, 3000));
    EXPECT_EQ(pausa, 1);
    EXPECT_EQ(nave->getX(), x);
    keyboard('p', 0, 0);
    EXPECT_EQ(pausa, 0);
    special(GLUT_KEY_LEFT, 0, 0);
    EXPECT_EQ(nave->getX(), x - 1.0f);

    // a hidden fly-in flies on, and the game it ends in waits
    pausa = 1;
    estadoVentana(GLUT_HIDDEN);
    camara->setOjoX(-1.25f);
    timerIntro(0);
    EXPECT_EQ(pausa, 1);
    estadoVentana(GLUT_PARTIALLY_RETAINED);
    EXPECT_EQ(pausa, 1);

    // a lost game has nothing to wait for
    keyboard('p', 0, 0);
    gameOver = true;
    estadoVentana(GLUT_HIDDEN);
    EXPECT_EQ(pausa, 0);
}

// The player's pause, by key or by the menu, holds the enemy's fire: no volley
// and no quickening while it lasts, and a whole interval after it ends.
TEST_F(Juego, ThePlayersPauseHoldsTheVolleysUntilAWholeIntervalAfterIt)
{
    empezarJuego();
    rondasDisparo = 1700; // a volley every 300 ms
    armarTimer(CADENA_DISPARO_ENEMIGO, 300, timerDisparoEnemigo);
    ASSERT_TRUE(zk::bombearHasta([] { return rondasDisparo > 1700; }, 5000));
    for (int porMenu = 0; porMenu < 2; porMenu++) {
        SCOPED_TRACE(porMenu ? "menu" : "key");
        const auto pausar = [porMenu] { porMenu ? menuVelocidad(0) : keyboard('p', 0, 0); };
        pausar();
        ASSERT_EQ(pausa, 1);
        const int rondas = rondasDisparo;
        const size_t enVuelo = disparosEnemigos.size();
        zk::bombear(1000); // more than three intervals
        EXPECT_EQ(rondasDisparo, rondas) << "a volley fired, or the delay shortened, in the pause";
        EXPECT_EQ(disparosEnemigos.size(), enVuelo);

        pausar();
        ASSERT_EQ(pausa, 0);
        const auto fin = std::chrono::steady_clock::now();
        ASSERT_TRUE(zk::bombearHasta([rondas] { return rondasDisparo > rondas; }, 5000));
        const auto ms =
            std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - fin);
        EXPECT_GE(ms.count(), 2000 - rondas - 10) << "the next volley did not wait its interval";
        EXPECT_EQ(rondasDisparo, rondas + 1);
    }
    EXPECT_EQ(cadenasArmadas(CADENA_DISPARO_ENEMIGO), 1);
}

// A camera move started in the player's pause leaves it on, "Pausa" showing
// all along; the move's own pause still ends with it.
TEST_F(Juego, ACameraMoveKeepsThePlayersPause)
{
    empezarJuego();
    keyboard('p', 0, 0);
    mouse(GLUT_LEFT_BUTTON, GLUT_DOWN, 300, 300);
    mouse(GLUT_LEFT_BUTTON, GLUT_UP, 380, 260);
    EXPECT_GT(blancosEnElCentro(), 40) << "no Pausa during the move";
    ASSERT_TRUE(zk::bombearHasta([] { return cadenasArmadas(CADENA_CAMARA) == 0; }, 10000));
    EXPECT_EQ(pausa, 1);
    EXPECT_GT(blancosEnElCentro(), 40) << "no Pausa after the move";
    const float x = nave->getX();
    special(GLUT_KEY_LEFT, 0, 0);
    specialUp(GLUT_KEY_LEFT, 0, 0);
    EXPECT_EQ(nave->getX(), x);

    keyboard('p', 0, 0);
    ASSERT_EQ(pausa, 0);
    mouse(GLUT_LEFT_BUTTON, GLUT_DOWN, 380, 260);
    mouse(GLUT_LEFT_BUTTON, GLUT_UP, 300, 300);
    EXPECT_EQ(pausa, 1);
    ASSERT_TRUE(zk::bombearHasta([] { return cadenasArmadas(CADENA_CAMARA) == 0; }, 10000));
    EXPECT_EQ(pausa, 0);

    // paused by the player during a move of its own: the end keeps it too
    mouse(GLUT_LEFT_BUTTON, GLUT_DOWN, 300, 300);
    mouse(GLUT_LEFT_BUTTON, GLUT_UP, 380, 260);
    keyboard('p', 0, 0);
    keyboard('p', 0, 0);
    ASSERT_TRUE(zk::bombearHasta([] { return cadenasArmadas(CADENA_CAMARA) == 0; }, 10000));
    EXPECT_EQ(pausa, 1);
    EXPECT_GT(blancosEnElCentro(), 40);
}
