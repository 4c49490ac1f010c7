// The best-score table of Space Zarkons 3D: written once when the game is
// over, drawn over the scene, and the game as before when records are off.
#include "juego_prueba.h"

#include "DisparoE.h"
#include "Invasor.h"
#include "Nave1.h"
#include "records.h"

#include <GL/freeglut.h>

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
