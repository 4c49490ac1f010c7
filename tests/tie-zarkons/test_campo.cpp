// The play field: walls, shots, hit tests, the march and the play frame's
// order, checked on a real window and through what OpenGL received.
#include "gl_test.h"
#include "globales.h"

#include <cmath>
#include <set>
#include <utility>

using zk::GlTest;

namespace {

// A fresh field with its models, drawn into a box that holds the whole field.
class Campo : public GlTest {
protected:
    void SetUp() override
    {
        GlTest::SetUp();
        if (IsSkipped())
            return;
        reiniciarCampo();
        crearModelos();
        state = 2;
        zk::useOrthoBox(110);
    }
};

float tieX(int col) { return pos_tie.x + 16.0f * col; }
float tieY(int fila) { return pos_tie.y - 16.0f * fila; }

int disparosActivos(const shoot* s)
{
    int n = 0;
    for (int i = 0; i < kDisparos; i++)
        n += s[i].activo ? 1 : 0;
    return n;
}

// Polygons whose centre lies in the box (field coordinates).
int poligonosEn(const std::vector<zk::FbPrimitive>& prims, float x0, float x1, float y0, float y1)
{
    int n = 0;
    for (const zk::FbPrimitive& p : zk::polygons(prims)) {
        double sx = 0, sy = 0;
        for (const zk::FbVertex& v : p.v) {
            sx += v.ox;
            sy += v.oy;
        }
        sx /= p.v.size();
        sy /= p.v.size();
        n += (sx >= x0 && sx <= x1 && sy >= y0 && sy <= y1) ? 1 : 0;
    }
    return n;
}

// Centres of the energy-bar cubes seen in a capture, rounded to whole units.
std::set<int> cubosDeEnergia(const std::vector<zk::FbPrimitive>& prims)
{
    std::set<int> xs;
    for (const zk::FbPrimitive& p : zk::polygons(prims)) {
        double sx = 0, sy = 0;
        for (const zk::FbVertex& v : p.v) {
            sx += v.ox;
            sy += v.oy;
        }
        sx /= p.v.size();
        sy /= p.v.size();
        if (sy > 71.5 && sy < 74.5 && sx < -55)
            xs.insert((int)std::lround(sx));
    }
    return xs;
}

std::vector<zk::FbPrimitive> frame()
{
    return zk::captureFeedback([] { dibujarCampo(); });
}

} // namespace

TEST(CampoReglas, ResetBuildsFourArchedWallsAndKeepsScoreAndShotTimer)
{
    puntos = 1400;
    tiempoDisparo = 3;
    reiniciarCampo();
    EXPECT_EQ(puntos, 1400);
    EXPECT_EQ(tiempoDisparo, 3);

    // 6 x 6 places on a 4-unit pitch: the middle pair of columns holds the
    // upper four rows, the outer pairs the lower four; the arch is open below
    const int centros[4] = {25, -25, -75, 75};
    for (int m = 0; m < 4; m++) {
        std::set<std::pair<int, int>> visto, esperado;
        for (int i = 24 * m; i < 24 * (m + 1); i++) {
            EXPECT_TRUE(bloques[i].vivo);
            visto.insert({(int)std::lround(bloques[i].x - centros[m]), (int)std::lround(bloques[i].y + 40)});
        }
        for (int dy : {10, 6, 2, -2})
            for (int dx : {-2, 2})
                esperado.insert({dx, dy});
        for (int dy : {2, -2, -6, -10})
            for (int dx : {-10, -6, 6, 10})
                esperado.insert({dx, dy});
        EXPECT_EQ(visto, esperado) << "wall " << m;
    }

    for (int i = 0; i < kTies; i++)
        EXPECT_TRUE(enemys[i]);
    EXPECT_EQ(disparosActivos(sXWing) + disparosActivos(sTie), 0);
    EXPECT_FLOAT_EQ(xWingStat.x, 0);
    EXPECT_FLOAT_EQ(xWingStat.y, -70);
    EXPECT_EQ(xWingStat.energia, 10);
    EXPECT_FLOAT_EQ(pos_tie.x, -32);
    EXPECT_FLOAT_EQ(pos_tie.y, 50);
    EXPECT_EQ(pos_tie.direccion, 0);
    EXPECT_FLOAT_EQ(energia[0].x, -97);
    EXPECT_FLOAT_EQ(energia[9].x, -61);
    EXPECT_FLOAT_EQ(energia[9].y, 73);
}

TEST(CampoReglas, CollisionTakesTheFirstActiveShotStrictlyInsideAndSpendsIt)
{
    // slot 0 is inactive; slots 1 to 3 sit exactly on the edges of (3, 5)
    shoot s[kDisparos] = {{10, 10, false}, {13, 10, true}, {10, 15, true}, {7, 6, true}, {0, 0, false}};
    EXPECT_FLOAT_EQ(distancia(-3, 4), 7);
    EXPECT_FLOAT_EQ(distancia(4, -3), 7);
    EXPECT_FALSE(collision(10, 10, s, 3, 5));
    EXPECT_TRUE(s[1].activo && s[2].activo && s[3].activo);
    EXPECT_TRUE(collision(10, 10, s, 3.5f, 5.5f));
    EXPECT_FALSE(s[1].activo);
    EXPECT_TRUE(s[2].activo);
    EXPECT_TRUE(collision(10, 10, s, 3.5f, 5.5f));
    EXPECT_FALSE(s[2].activo);
    EXPECT_TRUE(s[3].activo);
}

TEST(CampoReglas, ShotsTakeTheFirstFreeSlotAndAreLostWhenAllFiveFly)
{
    reiniciarCampo();
    xWingStat.x = 12;
    sXWing[0].activo = true;
    dispararXWing();
    EXPECT_TRUE(sXWing[1].activo);
    EXPECT_FLOAT_EQ(sXWing[1].x, 12);
    EXPECT_FLOAT_EQ(sXWing[1].y, -60);
    for (int i = 0; i < 5; i++)
        dispararXWing();
    EXPECT_EQ(disparosActivos(sXWing), 5);

    dispararTie(-32, 50);
    EXPECT_FLOAT_EQ(sTie[0].x, -32);
    EXPECT_FLOAT_EQ(sTie[0].y, 45);
    for (int i = 0; i < 4; i++)
        dispararTie(0, 0);
    const shoot antes = sTie[4];
    dispararTie(99, 99);
    EXPECT_EQ(disparosActivos(sTie), 5);
    EXPECT_FLOAT_EQ(sTie[4].x, antes.x);
}

TEST(CampoReglas, FormationSweepsNinetySixTicksAndStopsDescendingAtMinusTwenty)
{
    reiniciarCampo();
    state = 0; // it marches behind every screen
    for (int i = 0; i < 48; i++)
        avanzarMundo();
    EXPECT_FLOAT_EQ(pos_tie.x, -80);
    EXPECT_EQ(pos_tie.direccion, 0);
    avanzarMundo(); // the reversal steps down and already moves back
    EXPECT_FLOAT_EQ(pos_tie.x, -79);
    EXPECT_FLOAT_EQ(pos_tie.y, 49);
    EXPECT_EQ(pos_tie.direccion, 1);
    for (int i = 0; i < 95; i++)
        avanzarMundo();
    EXPECT_FLOAT_EQ(pos_tie.x, 16);
    EXPECT_FLOAT_EQ(pos_tie.y, 49);
    avanzarMundo();
    EXPECT_FLOAT_EQ(pos_tie.x, 15);
    EXPECT_FLOAT_EQ(pos_tie.y, 48);
    EXPECT_EQ(pos_tie.direccion, 0);

    // at the floor it keeps marching but no longer descends
    pos_tie.y = -20;
    for (int i = 0; i < 3 * 96; i++)
        avanzarMundo();
    EXPECT_FLOAT_EQ(pos_tie.y, -20);
    EXPECT_NE(pos_tie.x, 15.0f);
}

TEST(CampoReglas, ShotsMoveOnlyInPlayAndVanishPastTheEdges)
{
    reiniciarCampo();
    sXWing[0] = {0, 79, true};
    sXWing[1] = {0, 80, true};
    sTie[0] = {0, -79, true};
    sTie[1] = {0, -80, true};
    tiempoDisparo = 0;
    state = 5;
    avanzarMundo();
    contarTiempoDisparo();
    EXPECT_FLOAT_EQ(sXWing[0].y, 79);
    EXPECT_TRUE(sXWing[1].activo);
    EXPECT_EQ(tiempoDisparo, 0);

    state = 2;
    avanzarMundo();
    contarTiempoDisparo();
    EXPECT_EQ(tiempoDisparo, 1);
    EXPECT_TRUE(sXWing[0].activo);
    EXPECT_FLOAT_EQ(sXWing[0].y, 80);
    EXPECT_FALSE(sXWing[1].activo);
    EXPECT_TRUE(sTie[0].activo);
    EXPECT_FLOAT_EQ(sTie[0].y, -80);
    EXPECT_FALSE(sTie[1].activo);
    avanzarMundo();
    EXPECT_FALSE(sXWing[0].activo);
    EXPECT_FALSE(sTie[0].activo);
}

TEST_F(Campo, ShotOverlappingTwoTiesKillsOnlyTheFirstInRowMajorOrder)
{
    // 8 units from rows 0 and 1 alike, in column 0
    sXWing[0] = {tieX(0), tieY(0) - 8, true};
    const auto prims = frame();
    EXPECT_FALSE(enemys[0]);
    EXPECT_TRUE(enemys[5]);
    EXPECT_FALSE(sXWing[0].activo);
    EXPECT_EQ(puntos, 200);
    // the dead Tie is not drawn, its neighbour below is
    EXPECT_EQ(poligonosEn(prims, tieX(0) - 6, tieX(0) + 6, tieY(0) - 7, tieY(0) + 7), 0);
    EXPECT_GT(poligonosEn(prims, tieX(0) - 6, tieX(0) + 6, tieY(1) - 7, tieY(1) + 7), 50);
}

TEST_F(Campo, WinIsFoundInTheFrameAfterTheLastTieDies)
{
    for (int i = 0; i < kTies; i++)
        enemys[i] = i == 7;
    sXWing[0] = {tieX(2), tieY(1), true};
    dibujarCampo();
    EXPECT_FALSE(enemys[7]);
    EXPECT_EQ(state, 2);
    dibujarCampo();
    EXPECT_EQ(state, 4);
}

TEST_F(Campo, HitsCostOneEnergyUnitPerFrameEvenWithTwoShotsOnTheXWing)
{
    xWingStat.x = 40;
    sTie[0] = {42.9f, -70 + 7 + 6.9f, true}; // the nose's zone
    sTie[1] = {40 - 11.9f, -75, true};       // the wings' zone
    dibujarCampo();
    EXPECT_EQ(xWingStat.energia, 9);
    EXPECT_FALSE(sTie[0].activo);
    EXPECT_TRUE(sTie[1].activo);
    dibujarCampo();
    EXPECT_EQ(xWingStat.energia, 8);
    EXPECT_FALSE(sTie[1].activo);

    // just outside both zones
    sTie[0] = {43, -63, true};
    sTie[1] = {52, -75, true};
    dibujarCampo();
    EXPECT_EQ(xWingStat.energia, 8);
}

TEST_F(Campo, TheTenthHitEndsTheGameAndTheXWingIsNotDrawnInThatFrame)
{
    // baseline: seven units, the X-Wing and seven bar cubes are drawn
    xWingStat.energia = 7;
    auto prims = frame();
    EXPECT_GT(poligonosEn(prims, -15, 15, -80, -54), 100);
    EXPECT_EQ(cubosDeEnergia(prims), (std::set<int>{-97, -93, -89, -85, -81, -77, -73}));

    xWingStat.energia = 1;
    sTie[0] = {0, -75, true};
    prims = frame();
    EXPECT_EQ(xWingStat.energia, 0);
    EXPECT_EQ(state, 3);
    EXPECT_EQ(poligonosEn(prims, -15, 15, -80, -54), 0);
    EXPECT_TRUE(cubosDeEnergia(prims).empty());
}

TEST_F(Campo, KillingTheLastTieOnTheLastEnergyUnitWins)
{
    for (int i = 0; i < kTies; i++)
        enemys[i] = i == 3;
    sXWing[0] = {tieX(3), tieY(0), true};
    xWingStat.energia = 1;
    sTie[0] = {0, -75, true};
    dibujarCampo();
    EXPECT_EQ(xWingStat.energia, 0);
    EXPECT_EQ(state, 4);

    // and the win found a frame later is not undone by a hit in that frame
    reiniciarCampo();
    state = 2;
    for (int i = 0; i < kTies; i++)
        enemys[i] = false;
    xWingStat.energia = 1;
    sTie[0] = {0, -75, true};
    dibujarCampo();
    EXPECT_EQ(state, 4);
}

TEST_F(Campo, AWallCubeTakesTheFirstShotAndTheOtherFliesOn)
{
    // cube 4 tops the middle of the wall at x 25; nothing else is in reach
    ASSERT_FLOAT_EQ(bloques[4].x, 27);
    ASSERT_FLOAT_EQ(bloques[4].y, -30);
    sXWing[0] = {27, -25.5f, true};
    sTie[0] = {27, -25.5f, true};
    auto prims = frame();
    EXPECT_FALSE(bloques[4].vivo);
    EXPECT_FALSE(sXWing[0].activo);
    EXPECT_TRUE(sTie[0].activo);
    int vivos = 0;
    for (const cubito& c : bloques)
        vivos += c.vivo ? 1 : 0;
    EXPECT_EQ(vivos, 95);
    EXPECT_EQ(poligonosEn(prims, 26, 28, -31, -29), 0);
    EXPECT_GT(poligonosEn(prims, 26, 28, -35, -33), 0); // cube 6, just below

    sTie[0].y = -33; // now it reaches cube 6, below the gap
    dibujarCampo();
    EXPECT_FALSE(sTie[0].activo);
    EXPECT_FALSE(bloques[6].vivo);
    EXPECT_TRUE(bloques[0].vivo);
}

// The draw is folded to 0...32767: a raw rand() reaching 2^31 - 1 would make
// the Ties all but silent, an integer division silent or firing every frame.
TEST_F(Campo, EachTieFiresInAboutOneFrameInAHundred)
{
    // only the draws count here: empty models keep 2000 frames quick
    const GLuint vacia = glGenLists(1);
    glNewList(vacia, GL_COMPILE);
    glEndList();
    listaTie = listaXWing = listaCubo = listaDisparoTie = vacia;
    int disparos = 0;
    const int frames = 2000;
    for (int f = 0; f < frames; f++) {
        for (shoot& s : sTie)
            s.activo = false;
        dibujarCampo();
        disparos += disparosActivos(sTie);
    }
    // 15 Ties over 2000 frames: about 300 shots
    EXPECT_GT(disparos, 200);
    EXPECT_LT(disparos, 400);
    EXPECT_EQ(state, 2);
}

TEST_F(Campo, ShotsAreDrawnAtTheirPositionsYellowAndGreen)
{
    glDisable(GL_LIGHTING); // the lists' own colours reach feedback unlit
    sXWing[0] = {-5, 0, true};
    sTie[0] = {5, 0, true};
    const auto prims = frame();
    int amarillos = 0, verdes = 0;
    for (const zk::FbPrimitive& p : zk::polygons(prims)) {
        const zk::FbVertex& v = p.v[0];
        if (v.ox >= -5.01 && v.ox <= -4.49 && v.oy >= -0.01 && v.oy <= 4.01) {
            EXPECT_NEAR(v.r, 1, 1e-3);
            EXPECT_NEAR(v.g, 1, 1e-3);
            EXPECT_NEAR(v.b, 0, 1e-3);
            amarillos++;
        }
        // two bolts, 0.4 either side of the shot
        if (v.ox >= 4.59 && v.ox <= 5.91 && v.oy >= -0.01 && v.oy <= 3.01) {
            EXPECT_NEAR(v.r, 0, 1e-3);
            EXPECT_NEAR(v.g, 1, 1e-3);
            verdes++;
        }
    }
    EXPECT_GE(amarillos, 1);
    EXPECT_GE(verdes, 2);
}
