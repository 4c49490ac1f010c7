// Waves: the table after a win, Intro to the next wave, the ramp of
// difficulty, and the record of a game that went past the first wave.
#include "juego_prueba.h"

#include "Disparo.h"
#include "DisparoE.h"
#include "Invasor.h"
#include "Nave1.h"
#include "ParticleRegistry.h"
#include "ParticleSystem.h"
#include "Skybox.h"
#include "records.h"

#include <GL/freeglut.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

using zk::Juego;

namespace
{

// Every enemy ship shot where it stands, then the whole fly-out: the table
// of the wave won is up.
void ganarOleada()
{
    zk::empezarJuego();
    for (const Invasor* i : invasores)
        disparos.push_back(new Disparo(i->getX(), i->getY(), i->getZ(), 0, 0, 0));
    actualizarJuego(0);
    ASSERT_TRUE(invasores.empty());
    for (int i = 0; i < 100 && !finPorVictoria; i++)
        timerSalida(partida);
    ASSERT_TRUE(finPorVictoria);
}

// Pixels in a band of the window (rows from the bottom) of the table's
// yellow ink, of its light-blue keys line, and a checksum of the yellow.
struct Tinta {
    int amarillo = 0, celeste = 0;
    long firma = 0;
};

Tinta mirar(int y0, int alto)
{
    skybox->setRotacionX(0.0f);
    skybox->setRotacionY(0.0f);
    display();
    const std::vector<unsigned char> px = zk::readPixels(0, y0, 640, alto);
    Tinta t;
    for (size_t i = 0; i < px.size(); i += 4) {
        const int r = px[i], g = px[i + 1], b = px[i + 2];
        const bool amarillo = r > 200 && g > 200 && b < 80;
        t.amarillo += amarillo ? 1 : 0;
        t.firma += amarillo ? (long)(i % 7919) : 0;
        t.celeste += (r > 100 && r < 200 && g > 150 && b > 200) ? 1 : 0;
    }
    return t;
}

std::vector<rec_entry_t> leerRecords()
{
    rec_table_t t;
    std::string ruta, porque;
    EXPECT_TRUE(rec_path("space-zarkons-3d", &ruta, &porque));
    EXPECT_TRUE(rec_load(ruta, &t, &porque));
    return t.entries;
}

int contarTexturas()
{
    return zk::contarObjetosGL(glIsTexture);
}

int contarListas()
{
    return zk::contarObjetosGL(glIsList);
}

} // namespace

TEST_F(Juego, TheRampKeepsTheFirstWaveAndHardensEachWaveUpToTheSixth)
{
    const float rapidez[] = {1.0f, 1.12f, 1.2544f, 1.404928f, 1.5735194f, 1.7623417f};
    const int volea[] = {2000, 1880, 1760, 1640, 1520, 1400};
    const int unoEn[] = {9, 8, 7, 6, 5, 4};
    for (int n = 1; n <= 6; n++) {
        EXPECT_FLOAT_EQ(dificultad(n).rapidez, rapidez[n - 1]) << "wave " << n;
        EXPECT_EQ(dificultad(n).volea, volea[n - 1]) << "wave " << n;
        EXPECT_EQ(dificultad(n).unoEn, unoEn[n - 1]) << "wave " << n;
    }
    // past the table the sixth wave's values hold
    EXPECT_EQ(dificultad(40).volea, 1400);
    EXPECT_EQ(dificultad(40).unoEn, 4);

    // the first wave's formation steps exactly as it always did: 20 steps of
    // 0.25 to the left, then 0.5 forward at the turn
    Invasor* primero = invasores.front();
    for (int i = 0; i < 21; i++)
        primero->mover();
    EXPECT_FLOAT_EQ(primero->getX(), posicionesInvasores[0][0] - 4.75f);
    EXPECT_FLOAT_EQ(primero->getZ(), posicionesInvasores[0][2] + 0.5f);
    // a formation of the fifth wave sweeps and creeps 1.57 times as fast
    oleada = 5;
    reponerEscena();
    primero = invasores.front();
    for (int i = 0; i < 21; i++)
        primero->mover();
    EXPECT_NEAR(primero->getX(), posicionesInvasores[0][0] - 4.75f * 1.5735194f, 1e-4);
    EXPECT_NEAR(primero->getZ(), posicionesInvasores[0][2] + 0.5f * 1.5735194f, 1e-4);
}

TEST_F(Juego, AWinShowsTheWaveAndTheKeysAndOnlyIntroOrEscapeAct)
{
    // an earlier game is in the table
    rec_table_t t;
    t.entries.push_back(rec_entry_t{50, rec_now(), "invasion"});
    std::string ruta, porque;
    ASSERT_TRUE(rec_path("space-zarkons-3d", &ruta, &porque));
    ASSERT_EQ(system(("mkdir -p $(dirname '" + ruta + "')").c_str()), 0);
    ASSERT_TRUE(rec_save(ruta, t, &porque)) << porque;
    ganarOleada();
    EXPECT_TRUE(mostrarRecords);
    EXPECT_EQ(leerRecords().size(), 1u) << "recorded before the game ended";

    // the heading names the wave, the keys line is under the table
    const Tinta primera = mirar(180, 300);
    EXPECT_GT(primera.amarillo, 150) << "no heading and title";
    EXPECT_GT(primera.celeste, 30) << "no keys line";
    oleada = 2;
    EXPECT_NE(mirar(180, 300).firma, primera.firma) << "the heading does not name the wave";
    oleada = 1;

    // fire, the arrows, pause and the score strip do nothing here
    const unsigned char teclas[] = {' ', 'd', 'p', 's', 'x', '+'};
    for (unsigned char k : teclas) {
        keyboard(k, 0, 0);
        keyboardUp(k, 0, 0);
    }
    special(GLUT_KEY_LEFT, 0, 0);
    specialUp(GLUT_KEY_LEFT, 0, 0);
    EXPECT_TRUE(finPorVictoria);
    EXPECT_FALSE(mostrarScore);
    EXPECT_EQ(periodo, 17);
    EXPECT_EQ(oleada, 1);
    EXPECT_TRUE(disparos.empty());
    EXPECT_EQ(cadenasArmadas(CADENA_FIN_VICTORIA), 1);

    // Escape, or the table's 20 s, end the game with status 0 (the record
    // it leaves is the child's, checked in the test of wave 3)
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(keyboard(27, 0, 0), ::testing::ExitedWithCode(0), "");
    EXPECT_EXIT(timerFinVictoria(partida), ::testing::ExitedWithCode(0), "");
    EXPECT_EXIT(menuPrincipal(3), ::testing::ExitedWithCode(0), "");
}

TEST_F(Juego, IntroStartsTheNextWaveFreshWithTheScoreAndLivesCarried)
{
    armarTimer(CADENA_JUEGO, (unsigned)periodo, actualizarJuego);
    armarTimer(CADENA_LENTO, 100, timerLento);
    const int objetos = Dibujable::getInstancias();
    // a life lost, and a hit taken, before the win
    vidas = 2;
    puntaje = -20;
    nave->setX(12.0f);
    keyboard('-', 0, 0);
    ganarOleada();
    ASSERT_EQ(puntaje, 120);
    const int antes = partida;

    keyboard('\r', 0, 0);
    EXPECT_FALSE(finPorVictoria);
    EXPECT_FALSE(mostrarRecords);
    EXPECT_EQ(oleada, 2);
    EXPECT_EQ(partida, antes + 1);
    EXPECT_EQ(puntaje, 120);
    EXPECT_EQ(vidas, 2);
    EXPECT_EQ(energia, 100);
    EXPECT_EQ(nave->getEnergia(), 100);
    EXPECT_EQ(periodo, 17) << "the speed is a fresh launch's";
    EXPECT_EQ(nave->getX(), 0.0f);
    EXPECT_EQ(nave->getZ(), 55.0f);
    ASSERT_EQ(invasores.size(), (size_t)kInvasores);
    for (int i = 0; i < kInvasores; i++) {
        EXPECT_EQ(invasores[i]->getX(), posicionesInvasores[i][0]);
        EXPECT_EQ(invasores[i]->getZ(), posicionesInvasores[i][2]);
    }
    EXPECT_EQ(Dibujable::getInstancias(), objetos);
    // the wave won's 20 s timer is retired: it will do nothing when it runs
    timerFinVictoria(antes);

    // the fly-in shows "Oleada 2" in the upper third, and ends as the first
    EXPECT_GT(mirar(400, 60).amarillo, 60) << "no Oleada 2 in the fly-in";
    ASSERT_TRUE(zk::bombearHasta([] { return pausa == 0; }, 5000));
    EXPECT_LT(mirar(400, 60).amarillo, 10) << "Oleada 2 outlived the fly-in";
    const int una[CADENAS] = {1, 1, 0, 1, 1, 0, 0, 0, 0};
    for (int c = 0; c < CADENAS; c++)
        if (c != CADENA_FIN_VICTORIA)
            EXPECT_EQ(cadenasArmadas((Cadena)c), una[c]) << "chain " << c;
}

TEST_F(Juego, AGameLostInTheThirdWaveIsRecordedOnceWithItsWaveThenIntroStartsAfresh)
{
    ganarOleada();
    keyboard('\r', 0, 0);
    ganarOleada();
    keyboard('\r', 0, 0);
    ASSERT_EQ(oleada, 3);
    ASSERT_EQ(puntaje, 280);
    EXPECT_TRUE(leerRecords().empty());

    // the formation of the third wave arrives
    zk::empezarJuego();
    for (int i = 0; i < 3000 && !gameOver; i++)
        actualizarJuego(0);
    ASSERT_TRUE(gameOver);
    actualizarJuego(0);
    const std::vector<rec_entry_t> r = leerRecords();
    ASSERT_EQ(r.size(), 1u);
    EXPECT_EQ(r[0].score, 280);
    EXPECT_EQ(r[0].how, "oleada-3");

    // Intro plays again from the first wave, as a fresh launch
    ASSERT_TRUE(puedeJugarDeNuevo());
    keyboard('\r', 0, 0);
    EXPECT_EQ(oleada, 1);
    EXPECT_EQ(puntaje, 0);
    EXPECT_EQ(vidas, 3);
    EXPECT_FALSE(gameOver);
    EXPECT_EQ(mirar(400, 60).amarillo, 0) << "the first wave's fly-in names no wave";
    // a game lost in the first wave keeps its own word
    char s[24];
    EXPECT_STREQ(nombreDelFin("sin-vidas", s, sizeof s), "sin-vidas");
    EXPECT_STREQ(nombreDelFin("ganada", s, sizeof s), "oleada-1");
}

// Figures rather than a limit: what the tenth wave holds against the first.
TEST_F(Juego, TenWavesHoldNoMoreObjectsTexturesOrListsThanOne)
{
    // the missile model loads with the first shot of the process
    nave->recargar();
    Dibujable::eliminarSinAviso(nave->disparar());
    ganarOleada();
    keyboard('\r', 0, 0);
    const int objetos = Dibujable::getInstancias();
    const int sistemas = ParticleSystem::instances();
    const int texturas = contarTexturas();
    const int listas = contarListas();
    for (int n = 2; n < 11; n++) {
        ganarOleada();
        keyboard('\r', 0, 0);
    }
    ASSERT_EQ(oleada, 11);
    printf("after wave 1 / wave 10: objects %d / %d, particle systems %d / %d, textures %d / %d, lists %d / %d\n",
           objetos, Dibujable::getInstancias(), sistemas, ParticleSystem::instances(), texturas,
           contarTexturas(), listas, contarListas());
    EXPECT_EQ(Dibujable::getInstancias(), objetos);
    EXPECT_EQ(ParticleSystem::instances(), sistemas);
    EXPECT_EQ(contarTexturas(), texturas);
    EXPECT_EQ(contarListas(), listas);
}
