// The best-score table of Space Zarkons 3D: written once when the game is
// over, drawn over the scene, and the game as before when records are off.
#include "juego_prueba.h"

#include "DisparoE.h"
#include "Skybox.h"
#include "Invasor.h"
#include "Nave1.h"
#include "records.h"

#include <GL/freeglut.h>

#include <algorithm>
#include <cstdlib>
#include <string>

using zk::Juego;

namespace
{

// Pixels of the table's pane colour (deep blue, no red) and of its yellow ink
// in the middle of the window.
struct Centro {
    int panel = 0, tinta = 0, celeste = 0; // celeste: the line of the keys after a lost game
};

Centro mirarCentro()
{
    display();
    Centro c;
    const std::vector<unsigned char> px = zk::readPixels(220, 250, 200, 140);
    for (size_t i = 0; i < px.size(); i += 4) {
        const int r = px[i], g = px[i + 1], b = px[i + 2];
        c.panel += (r < 20 && g < 20 && b >= 25 && b <= 60) ? 1 : 0;
        c.tinta += (r > 200 && g > 200 && b < 80) ? 1 : 0;
        c.celeste += (r > 100 && r < 200 && g > 150 && b > 200) ? 1 : 0;
    }
    return c;
}

void perderUltimaNave()
{
    vidas = 0;
    for (int i = 0; i < 4; i++) {
        disparosEnemigos.push_back(new DisparoE(nave->getX(), nave->getY(), nave->getZ() - 1.0f, 0, 0, 0));
        actualizarJuego(0);
    }
    timerRevivir(0);
}

rec_table_t leerTabla()
{
    rec_table_t t;
    std::string path, why;
    EXPECT_TRUE(rec_path("space-zarkons-3d", &path, &why));
    EXPECT_TRUE(rec_load(path, &t, &why));
    return t;
}

} // namespace

TEST_F(Juego, TheGameOverIsRecordedOnceAndTheTableIsDrawnOverTheScene)
{
    empezarJuego();
    EXPECT_EQ(mirarCentro().panel, 0);
    puntaje = 300;
    perderUltimaNave();
    ASSERT_TRUE(gameOver);
    ASSERT_TRUE(mostrarRecords);
    rec_table_t t = leerTabla();
    ASSERT_EQ(t.entries.size(), 1u);
    EXPECT_EQ(t.entries[0].score, puntaje);
    EXPECT_EQ(t.entries[0].how, "sin-vidas");

    // the formation still arrives afterwards: the same game, not a second record
    for (int i = 0; i < 2000 && invasores.front()->getZ() + 10.0f <= nave->getZ(); i++)
        actualizarJuego(0);
    actualizarJuego(0);
    EXPECT_EQ(leerTabla().entries.size(), 1u);

    const Centro c = mirarCentro();
    EXPECT_GT(c.panel, 2000) << "no pane over the scene";
    EXPECT_GT(c.tinta, 100) << "no yellow title or marked entry";
}

TEST_F(Juego, WithoutAPlaceForRecordsTheGameOverIsAsBefore)
{
    unsetenv("HOME");
    setenv("XDG_DATA_HOME", "/proc/sin-datos", 1);
    empezarJuego();
    perderUltimaNave();
    ASSERT_TRUE(gameOver);
    EXPECT_FALSE(mostrarRecords);
    // no table, only the line that says Intro plays again
    const Centro c = mirarCentro();
    EXPECT_EQ(c.panel, 0);
    EXPECT_GT(c.celeste, 30);
    // and after a won fly-out the wave and the keys show, with no table
    for (Invasor* i : invasores)
        Dibujable::eliminarSinAviso(i);
    invasores.clear();
    gameOver = false;
    terminarTrasSalida();
    EXPECT_TRUE(finPorVictoria);
    EXPECT_FALSE(mostrarRecords);
    const Centro g = mirarCentro();
    EXPECT_EQ(g.panel, 0);
    EXPECT_GT(g.celeste, 30);
    EXPECT_GT(g.tinta, 30) << "no heading";
}

// A game that ends at zero or below is no record: the table shows all the
// same, with the score under it and word that it did not make it.
TEST_F(Juego, AGameAtZeroOrBelowIsNotRecordedButTheTableStillShows)
{
    rec_table_t t;
    int puesto = 0;
    ASSERT_TRUE(rec_add("space-zarkons-3d", 500, "ganada", &t, &puesto));
    empezarJuego();
    perderUltimaNave();
    ASSERT_TRUE(gameOver);
    ASSERT_LE(puntaje, 0);
    ASSERT_TRUE(mostrarRecords);
    t = leerTabla();
    ASSERT_EQ(t.entries.size(), 1u);
    EXPECT_EQ(t.entries[0].score, 500);

    // the yellow line of the score spans more than the table's title: it
    // says the score did not make it
    display();
    const std::vector<unsigned char> px = zk::readPixels(0, 0, width, height);
    int x0 = width, x1 = -1;
    for (size_t i = 0; i < px.size(); i += 4)
        if (px[i] > 200 && px[i + 1] > 200 && px[i + 2] < 80) {
            const int x = (int)((i / 4) % (size_t)width);
            x0 = std::min(x0, x);
            x1 = std::max(x1, x);
        }
    EXPECT_GT(x1 - x0, 300) << "only the score, no word that it did not make it";
}

// Once the formation has arrived the game is over: enemy shots pass through
// the ship's place, so the strip, the table and the file keep the same score.
// P then shows "Pausa" just above the table, hiding none of it.
TEST_F(Juego, AfterAnInvasionTheScoreIsFinalAndPausaShowsAboveTheTable)
{
    empezarJuego();
    puntaje = 1000; // a score that enters the table, whatever hits come first
    for (int i = 0; i < 2000 && !gameOver; i++)
        actualizarJuego(0);
    ASSERT_TRUE(gameOver);
    ASSERT_TRUE(mostrarRecords);
    const int final = puntaje;
    for (int i = 0; i < 3; i++) {
        perderUltimaNave();
        actualizarJuego(0);
    }
    EXPECT_EQ(puntaje, final) << "hit after the game was over";
    rec_table_t t = leerTabla();
    ASSERT_EQ(t.entries.size(), 1u);
    EXPECT_EQ(t.entries[0].score, final);
    EXPECT_EQ(t.entries[0].how, "invasion");

    skybox->setRotacionX(0.0f);
    skybox->setRotacionY(0.0f);
    display();
    const std::vector<unsigned char> antes = zk::readPixels(0, 0, 640, 640);
    keyboard('p', 0, 0);
    ASSERT_EQ(pausa, 1);
    skybox->setRotacionX(0.0f);
    skybox->setRotacionY(0.0f);
    display();
    const std::vector<unsigned char> despues = zk::readPixels(0, 0, 640, 640);
    // the table: 390 pixels wide, centred; its top edge is the highest row of its pane
    int techo = 0;
    for (int y = 0; y < 640; y++) {
        const size_t i = ((size_t)y * 640 + 320) * 4;
        if (antes[i] < 20 && antes[i + 1] < 20 && antes[i + 2] >= 25 && antes[i + 2] <= 60)
            techo = y;
    }
    ASSERT_GT(techo, 320) << "no table";
    // white that was not there before: above the table, none on its rows
    // (the burst of the ship goes on below, in its own colours)
    const auto blanco = [](const std::vector<unsigned char>& px, size_t i) {
        return px[i] > 200 && px[i + 1] > 200 && px[i + 2] > 200;
    };
    int encima = 0, sobre = 0;
    for (int y = 0; y < 640; y++)
        for (int x = 125; x < 515; x++) {
            const size_t i = ((size_t)y * 640 + (size_t)x) * 4;
            if (y < techo - 70 || !blanco(despues, i) || blanco(antes, i))
                continue;
            (y > techo + 1 ? encima : sobre)++;
        }
    EXPECT_GT(encima, 40) << "no Pausa";
    EXPECT_EQ(sobre, 0) << "Pausa covers the table";
}
