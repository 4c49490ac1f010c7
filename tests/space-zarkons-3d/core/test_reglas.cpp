// The game rules, driven by calling the game's timers directly on a real
// window with the scene built from small data files.
#include "juego_prueba.h"

#include "Disparo.h"
#include "DisparoE.h"
#include "Invasor.h"
#include "Nave1.h"
#include "ParticleRegistry.h"
#include "ParticleSystem.h"

#include <GL/freeglut.h>

#include <algorithm>
#include <chrono>
#include <climits>
#include <cstdlib>
#include <ctime>
#include <string>

using zk::Juego;

namespace
{

int vecesEnRegistro(ParticleSystem* s)
{
    const auto& e = ParticleRegistry::getInstance()->entries();
    return (int)std::count(e.begin(), e.end(), s);
}

// An enemy shot one step short of the ship, so the next tick's move hits it.
void dispararANave()
{
    disparosEnemigos.push_back(new DisparoE(nave->getX(), nave->getY(), nave->getZ() - 1.0f, 0, 0, 0));
}

size_t indiceInvasor(float x, float y)
{
    for (size_t i = 0; i < invasores.size(); i++)
        if (invasores[i]->getX() == x && invasores[i]->getY() == y)
            return i;
    return invasores.size();
}

} // namespace

TEST_F(Juego, PlayerShotHitsOnlyWithinTheEnemyBoxStrictly)
{
    empezarJuego();
    // the first enemy ship stands at (-20, 5, 20); its neighbour is 6 units away
    disparos.push_back(new Disparo(-24.0f, 5.0f, 20.0f, 0, 0, 0));
    actualizarJuego(0);
    EXPECT_EQ(invasores.size(), 14u);
    EXPECT_EQ(puntaje, 0);
    ASSERT_EQ(disparos.size(), 1u);
    EXPECT_FLOAT_EQ(disparos[0]->getZ(), 19.0f); // moved after the test

    delete disparos[0];
    disparos.clear();
    disparos.push_back(new Disparo(-23.99f, 5.0f, 20.0f, 0, 0, 0));
    zk::StdoutCapture salida;
    actualizarJuego(0);
    std::string texto = salida.finish();
    EXPECT_EQ(puntaje, 10);
    EXPECT_EQ(invasores.size(), 13u);
    EXPECT_TRUE(disparos.empty());
    EXPECT_EQ(indiceInvasor(-20.25f, 5.0f), invasores.size()); // the others stepped 0.25 toward -x
    EXPECT_NE(texto.find("Invasor destruido\n"), std::string::npos);
    EXPECT_NE(texto.find("Disparo destruido\n"), std::string::npos);
}

TEST_F(Juego, ShotsEarlierInTheArrayWinTiesAndOneShotKillsOneShip)
{
    empezarJuego();
    // A at 0 overlaps only the ship at x 0; B at 3.5 overlaps the ships at 0 and 7
    disparos.push_back(new Disparo(0.0f, 5.0f, 20.0f, 0, 0, 0));
    disparos.push_back(new Disparo(3.5f, 5.0f, 20.0f, 0, 0, 0));
    actualizarJuego(0);
    EXPECT_EQ(puntaje, 20);
    EXPECT_TRUE(disparos.empty());
    EXPECT_EQ(indiceInvasor(-0.25f, 5.0f), invasores.size());
    EXPECT_EQ(indiceInvasor(6.75f, 5.0f), invasores.size());
    EXPECT_LT(indiceInvasor(13.75f, 5.0f), invasores.size());
}

TEST_F(Juego, TheFirstShotInTheArrayTakesTheSharedShip)
{
    empezarJuego();
    disparos.push_back(new Disparo(3.5f, 5.0f, 20.0f, 0, 0, 0)); // first: takes the ship at 0
    disparos.push_back(new Disparo(0.0f, 5.0f, 20.0f, 0, 0, 0)); // then nothing is left for it
    actualizarJuego(0);
    EXPECT_EQ(puntaje, 10);
    EXPECT_EQ(invasores.size(), 13u);
    ASSERT_EQ(disparos.size(), 1u);
    EXPECT_FLOAT_EQ(disparos[0]->getX(), 0.0f);
    EXPECT_LT(indiceInvasor(6.75f, 5.0f), invasores.size());
    EXPECT_EQ(indiceInvasor(-0.25f, 5.0f), invasores.size());
}

TEST_F(Juego, DestroyingTheFormationScores140ThenFliesOutAndExits)
{
    empezarJuego();
    for (int i = 0; i < kInvasores; i++)
        disparos.push_back(new Disparo(posicionesInvasores[i][0], posicionesInvasores[i][1],
                                       posicionesInvasores[i][2], 0, 0, 0));
    actualizarJuego(0);
    EXPECT_EQ(puntaje, 140);
    EXPECT_TRUE(invasores.empty());
    EXPECT_TRUE(disparos.empty());
    EXPECT_FLOAT_EQ(nave->getVelocidadX(), 0.0f);
    EXPECT_FLOAT_EQ(nave->getVelocidadY(), 0.2f);
    EXPECT_FLOAT_EQ(nave->getVelocidadZ(), -0.9f);

    // 49 steps keep the ship above z 10; the 50th shows the table, whose
    // timer ends the program with status 0 unless Intro starts the next wave
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    for (int i = 0; i < 49; i++)
        timerSalida(0);
    EXPECT_GT(nave->getZ(), 10.0f);
    EXPECT_NEAR(nave->getY(), -0.2f, 1e-4);
    EXPECT_FALSE(mostrarRecords);
    timerSalida(0);
    EXPECT_TRUE(finPorVictoria);
    EXPECT_EXIT(timerFinVictoria(0), ::testing::ExitedWithCode(0), "");
}

TEST_F(Juego, FourHitsCostALifeAndTheShipReturnsAfterRevival)
{
    empezarJuego();
    const int energias[] = {75, 50, 25, 0};
    for (int i = 0; i < 4; i++) {
        EXPECT_FALSE(naveDestruida);
        dispararANave();
        actualizarJuego(0);
        EXPECT_EQ(energia, energias[i]);
        EXPECT_EQ(puntaje, -20 * (i + 1));
        EXPECT_TRUE(disparosEnemigos.empty());
    }
    EXPECT_TRUE(naveDestruida);
    EXPECT_FALSE(gameOver);
    EXPECT_EQ(vidas, 3);
    EXPECT_EQ(vecesEnRegistro(nave->getExplosion()), 1);

    // while destroyed, enemy shots pass through its place
    dispararANave();
    actualizarJuego(0);
    EXPECT_EQ(puntaje, -80);
    EXPECT_EQ(disparosEnemigos.size(), 1u);

    timerRevivir(0);
    EXPECT_FALSE(naveDestruida);
    EXPECT_EQ(energia, 100);
    EXPECT_EQ(nave->getEnergia(), 100);
    EXPECT_EQ(vidas, 2);
    EXPECT_EQ(vecesEnRegistro(nave->getExplosion()), 0);

    // the next death hands the explosion over again
    delete disparosEnemigos[0];
    disparosEnemigos.clear();
    for (int i = 0; i < 4; i++) {
        dispararANave();
        actualizarJuego(0);
    }
    EXPECT_TRUE(naveDestruida);
    EXPECT_EQ(puntaje, -160);
    EXPECT_EQ(vecesEnRegistro(nave->getExplosion()), 1);
}

TEST_F(Juego, LosingTheLastShipEndsTheGameAfterTheDelay)
{
    empezarJuego();
    vidas = 0;
    for (int i = 0; i < 4; i++) {
        dispararANave();
        actualizarJuego(0);
    }
    ASSERT_TRUE(naveDestruida);
    EXPECT_FALSE(gameOver);
    timerRevivir(0);
    EXPECT_TRUE(gameOver);
    EXPECT_EQ(vidas, 0);
    EXPECT_EQ(energia, 0);
    // no fire after the end of the game
    timerRecarga(0);
    keyboard(' ', 0, 0);
    EXPECT_TRUE(disparos.empty());
}

TEST_F(Juego, SecondRowCrossesTheLineOnTick1621AndTheShipExplodesOnce)
{
    empezarJuego();
    for (int i = 0; i < 1620; i++)
        actualizarJuego(0);
    EXPECT_FALSE(gameOver);
    EXPECT_FLOAT_EQ(invasores[7]->getZ(), 45.0f);
    actualizarJuego(0);
    EXPECT_FLOAT_EQ(invasores[7]->getZ(), 45.5f);
    EXPECT_FLOAT_EQ(invasores[0]->getZ(), 40.5f); // the first row is still short of the line
    EXPECT_TRUE(gameOver);
    EXPECT_EQ(energia, 0);
    EXPECT_EQ(vidas, 0);
    EXPECT_FALSE(naveDestruida);

    // every later tick finds the whole row past the line: still one explosion
    for (int i = 0; i < 200; i++)
        actualizarJuego(0);
    EXPECT_EQ(vecesEnRegistro(nave->getExplosion()), 1);

    // the game is over: enemy shots pass through its place and cost nothing
    dispararANave();
    actualizarJuego(0);
    EXPECT_EQ(puntaje, 0);
    EXPECT_EQ(nave->getEnergia(), 100);
    EXPECT_EQ(energia, 0);
    EXPECT_EQ(disparosEnemigos.size(), 1u);
    EXPECT_EQ(vecesEnRegistro(nave->getExplosion()), 1);
}

TEST_F(Juego, WhilePausedNothingMovesButVolleysStillAddShots)
{
    empezarJuego();
    pausa = 1;
    disparos.push_back(new Disparo(-40.0f, 0.0f, 50.0f, 0, 0, 0));
    disparosEnemigos.push_back(new DisparoE(40.0f, 0.0f, 50.0f, 0, 0, 0));
    std::vector<float> xs;
    for (Invasor* i : invasores)
        xs.push_back(i->getX());
    nave->setRotacionZ(6.0f);
    float ojoX = camara->getOjoX();

    for (int i = 0; i < 20; i++) {
        actualizarJuego(0);
        timerLento(0);
    }
    EXPECT_FLOAT_EQ(disparos[0]->getZ(), 50.0f);
    EXPECT_FLOAT_EQ(disparosEnemigos[0]->getZ(), 50.0f);
    for (size_t i = 0; i < invasores.size(); i++)
        EXPECT_FLOAT_EQ(invasores[i]->getX(), xs[i]);
    EXPECT_FLOAT_EQ(nave->getRotacionZ(), 6.0f);
    EXPECT_FLOAT_EQ(camara->getOjoX(), ojoX);

    // a volley fires from the ships that rand picks under this second's seed
    std::vector<size_t> esperados;
    time_t antes;
    do {
        antes = time(nullptr);
        srand((unsigned)antes);
        esperados.clear();
        for (size_t i = 0; i < invasores.size(); i++)
            if (rand() % 9 == 0)
                esperados.push_back(i);
        while (disparosEnemigos.size() > 1) {
            delete disparosEnemigos.back();
            disparosEnemigos.pop_back();
        }
        timerDisparoEnemigo(0);
    } while (time(nullptr) != antes);
    ASSERT_EQ(disparosEnemigos.size(), 1 + esperados.size());
    for (size_t k = 0; k < esperados.size(); k++) {
        EXPECT_FLOAT_EQ(disparosEnemigos[1 + k]->getX(), invasores[esperados[k]]->getX());
        EXPECT_FLOAT_EQ(disparosEnemigos[1 + k]->getZ(), invasores[esperados[k]]->getZ());
    }
    float z = disparosEnemigos.back()->getZ();
    actualizarJuego(0);
    EXPECT_FLOAT_EQ(disparosEnemigos.back()->getZ(), z); // waiting for the pause to end
}

TEST_F(Juego, FlyInTakes21RunsAndThenArmsReloadAndVolleys)
{
    for (int i = 0; i < 20; i++)
        timerIntro(0);
    EXPECT_EQ(pausa, 1);
    EXPECT_GT(camara->getOjoZ(), 83.0f); // 83.00003 in float: one more run is needed
    timerIntro(0);
    EXPECT_EQ(pausa, 0);
    EXPECT_FLOAT_EQ(camara->getOjoX(), 1.25f);
    EXPECT_FLOAT_EQ(camara->getOjoY(), 1.25f);
    EXPECT_NEAR(camara->getOjoZ(), 82.15f, 1e-4);

    // the reload comes 200 ms later, the first volley 2000 ms later
    auto fin = std::chrono::steady_clock::now();
    EXPECT_TRUE(zk::bombearHasta([] { return rondasDisparo >= 1; }, 8000));
    auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - fin);
    EXPECT_GE(ms.count(), 1990); // timers never fire early
    teclaDisparo = true;
    aplicarTeclas(); // the first attempt of a new ship only turns its gun side
    aplicarTeclas();
    EXPECT_EQ(disparos.size(), 1u);
}

TEST_F(Juego, PausingDuringTheFlyInStartsTheTickEarlyAndTheEndUnpauses)
{
    timerIntro(0);
    keyboard('p', 0, 0);
    EXPECT_EQ(pausa, 0);
    float x = invasores[0]->getX();
    actualizarJuego(0);
    EXPECT_FLOAT_EQ(invasores[0]->getX(), x - 0.25f);
    keyboard('p', 0, 0);
    EXPECT_EQ(pausa, 1);
    for (int i = 0; i < 20; i++)
        timerIntro(0);
    EXPECT_EQ(pausa, 0);
}

TEST_F(Juego, SlowTickSwaysTheCameraAndLevelsTheShip)
{
    empezarJuego();
    for (int i = 0; i < 3; i++)
        nave->moverDerecha();
    nave->moverAbajo();
    ASSERT_FLOAT_EQ(nave->getRotacionZ(), 9.0f);
    ASSERT_FLOAT_EQ(nave->getRotacionX(), -2.0f);
    float x = camara->getOjoX();
    timerLento(0);
    EXPECT_FLOAT_EQ(nave->getRotacionZ(), 6.0f);
    EXPECT_FLOAT_EQ(nave->getRotacionX(), 0.0f);
    EXPECT_FLOAT_EQ(camara->getOjoX(), x + 0.5f);
    for (int i = 0; i < 3; i++)
        timerLento(0);
    EXPECT_FLOAT_EQ(nave->getRotacionZ(), 0.0f);
    EXPECT_FLOAT_EQ(nave->getRotacionX(), 0.0f);
}

TEST_F(Juego, VolleysNeverStopAfterThe2000th)
{
    empezarJuego();
    // the delay would be 0 and then negative: it stays at 1 ms
    rondasDisparo = 2500;
    timerDisparoEnemigo(0);
    EXPECT_EQ(rondasDisparo, 2501);
    EXPECT_TRUE(zk::bombearHasta([] { return rondasDisparo >= 2505; }, 3000));

    // and the counter does not overflow
    rondasDisparo = INT_MAX;
    timerDisparoEnemigo(0);
    EXPECT_EQ(rondasDisparo, INT_MAX);
}

TEST_F(Juego, AShotFiredSteeplyIsErasedOnceFarOutsideTheField)
{
    empezarJuego();
    // down to the floor, levelled there, then paused: the up arrow still
    // tilts the ship whenever another key runs the held keys
    teclaAbajo = true;
    for (int i = 0; i < 16; i++)
        keyboard('x', 0, 0);
    teclaAbajo = false;
    for (int i = 0; i < 16; i++)
        timerLento(0);
    ASSERT_FLOAT_EQ(nave->getY(), -26.0f);
    ASSERT_FLOAT_EQ(nave->getRotacionX(), 0.0f);
    pausa = 1;
    teclaArriba = true;
    for (int i = 0; i < 60; i++)
        keyboard('x', 0, 0);
    teclaArriba = false;
    ASSERT_FLOAT_EQ(nave->getRotacionX(), 104.0f);
    pausa = 0;
    timerRecarga(0);
    keyboard(' ', 0, 0);
    keyboard(' ', 0, 0);
    ASSERT_EQ(disparos.size(), 1u);
    EXPECT_FALSE(disparos[0]->fueraDeCampo());

    zk::StdoutCapture salida;
    int ticks = 0;
    while (!disparos.empty() && ticks < 1000) {
        actualizarJuego(0);
        ticks++;
    }
    EXPECT_TRUE(disparos.empty());
    EXPECT_LT(ticks, 100);
    EXPECT_NE(salida.finish().find("Disparo destruido"), std::string::npos);
}

TEST_F(Juego, AVolleyCompilesTheMissileInTheMainWindow)
{
    empezarJuego();
    alternarScore();
    // the score strip is current, as a redisplay request for it leaves it
    redibujarVentana(ventanaScore);
    ASSERT_EQ(glutGetWindow(), ventanaScore);
    timerDisparoEnemigo(0);
    EXPECT_EQ(glutGetWindow(), ventanaPrincipal);
}

// Each tick is due a period after the last was due: a late tick waits less,
// so the rate holds; a stall is let go, never caught up in a burst; a period
// as long as the speed keys allow does not overflow.
TEST(TickSchedule, LateTicksWaitLessAndStallsBringNoBurst)
{
    long long proximo = -1;
    EXPECT_EQ(programarTick(proximo, 1000, 17), 17); // the first, from its own start
    EXPECT_EQ(programarTick(proximo, 1017, 17), 17); // on time
    EXPECT_EQ(programarTick(proximo, 1039, 17), 12); // 5 ms late: made up
    EXPECT_EQ(programarTick(proximo, 1051, 17), 17);
    EXPECT_EQ(programarTick(proximo, 1084, 17), 1);  // 16 ms late, still made up
    EXPECT_EQ(programarTick(proximo, 1110, 17), 0);  // 25 ms late: the next at once
    EXPECT_EQ(programarTick(proximo, 1110, 17), 9);  // and then back on time
    // half a second stalled: one tick, then the next a whole period later
    EXPECT_EQ(programarTick(proximo, 1600, 17), 17);
    EXPECT_EQ(programarTick(proximo, 1617, 17), 17);
    // a slower game from the next tick on
    EXPECT_EQ(programarTick(proximo, 1634, 1001), 1001);
    long long lejos = 0;
    EXPECT_EQ(programarTick(lejos, 0, INT_MAX), INT_MAX);
    EXPECT_EQ(programarTick(lejos, 10, INT_MAX), INT_MAX);
}

// Right after a tick at full speed the next one is close enough to show any
// change in its own frame; at the slowest speeds it is not, so a change must
// ask for a frame of its own.
TEST_F(Juego, ChangesWaitForTheTicksFrameOnlyWhenItComesSoon)
{
    empezarJuego();
    periodo = 17;
    actualizarJuego(0);
    EXPECT_TRUE(tickInminente());
    periodo = 1001;
    actualizarJuego(0);
    EXPECT_FALSE(tickInminente());
    periodo = 17;
}
