// The models: compiled once, culled where they should be, shaped as drawn,
// checked through feedback vertices and pixels of a real window.
#include "gl_test.h"
#include "globales.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <vector>

using zk::GlTest;

namespace {

class Modelos : public GlTest {
protected:
    void SetUp() override
    {
        GlTest::SetUp();
        if (IsSkipped())
            return;
        crearModelos();
        glEnable(GL_CULL_FACE);
    }
};

// What reaches rasterisation of a list seen after a rotation; the rotation
// comes before the capture, so ox, oy, oz are in the model's own frame.
std::vector<zk::FbPrimitive> verLista(GLuint lista, float half, float angulo, float ex, float ey)
{
    zk::useOrthoBox(half);
    glRotatef(angulo, ex, ey, 0.0f);
    return zk::polygons(zk::captureFeedback([&] { glCallList(lista); }));
}

int contar(const std::vector<zk::FbPrimitive>& prims, const std::function<bool(const zk::FbVertex&)>& todos)
{
    return (int)std::count_if(prims.begin(), prims.end(), [&](const zk::FbPrimitive& p) {
        return std::all_of(p.v.begin(), p.v.end(), todos);
    });
}

// Display lists in existence (Mesa never hands out a freed name again, so
// the names themselves cannot show a leak; the count can).
int listasVivas()
{
    int n = 0;
    for (GLuint i = 1; i < 4096; i++)
        n += glIsList(i) ? 1 : 0;
    return n;
}

} // namespace

TEST_F(Modelos, TwelveListsAreCompiledOnceAndNeverPerFrame)
{
    const GLuint listas[12] = {listaTie, listaXWing, listaAlaIzquierda, listaAlaDerecha,
                               listaBloqueMotor, listaMotorSuperior, listaMotorInferior, listaCanon,
                               listaDisparoXWing, listaRayoTie, listaDisparoTie, listaCubo};
    for (int i = 0; i < 12; i++) {
        EXPECT_TRUE(glIsList(listas[i])) << i;
        for (int j = 0; j < i; j++)
            EXPECT_NE(listas[i], listas[j]);
    }

    const int vivas = listasVivas();
    EXPECT_GE(vivas, 12);
    reiniciarCampo();
    state = 2;
    zk::useOrthoBox(110);
    for (int f = 0; f < 30; f++)
        dibujarCampo();
    crearModelos();
    EXPECT_EQ(listaTie, listas[0]);
    EXPECT_EQ(listaCubo, listas[11]);
    EXPECT_EQ(listasVivas(), vivas) << "a frame made display lists";

    // freeing and building again leaves nothing behind
    for (int i = 0; i < 50; i++) {
        borrarModelos();
        EXPECT_FALSE(glIsList(listas[0]));
        crearModelos();
    }
    EXPECT_EQ(listasVivas(), vivas);
}

TEST_F(Modelos, TieWingFacesShowFromBothSidesAndTheRestIsCulled)
{
    // only the hexagonal faces lie wholly in the planes x = +-4.4 and +-4.6
    auto enAla = [](const zk::FbVertex& v) {
        const double x = std::fabs(v.ox);
        return std::fabs(x - 4.4) < 1e-3 || std::fabs(x - 4.6) < 1e-3;
    };
    for (float angulo : {-90.0f, 90.0f}) {
        const auto prims = verLista(listaTie, 8, angulo, 0, 1);
        EXPECT_EQ(contar(prims, enAla), 4 * 6) << "seen from " << (angulo < 0 ? "+x" : "-x");
    }
    EXPECT_TRUE(zk::enabled(GL_CULL_FACE));

    // seen from the front, the back of the cockpit ball is culled
    const auto frente = verLista(listaTie, 8, 0, 1, 0);
    auto atrasDeLaBola = [](const zk::FbVertex& v) {
        const double r = std::sqrt(v.ox * v.ox + v.oy * v.oy + v.oz * v.oz);
        return std::fabs(r - 1.8) < 0.05 && v.oz < -0.3;
    };
    auto adelanteDeLaBola = [](const zk::FbVertex& v) {
        const double r = std::sqrt(v.ox * v.ox + v.oy * v.oy + v.oz * v.oz);
        return std::fabs(r - 1.8) < 0.05 && v.oz > 0.3;
    };
    EXPECT_EQ(contar(frente, atrasDeLaBola), 0);
    EXPECT_GT(contar(frente, adelanteDeLaBola), 20);
}

TEST_F(Modelos, TieWindowFrameIsThreePixelsWideAndTheWidthReturnsToOne)
{
    // unlit and without depth test, so the frame lies on top in plain white
    glDisable(GL_LIGHTING);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_LINE_SMOOTH);
    glLineWidth(2.0f);
    zk::useOrthoBox(2.5f); // 128 pixels a unit
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glCallList(listaTie);
    glFinish();
    EXPECT_FLOAT_EQ(zk::getFloat(GL_LINE_WIDTH), 1.0f);

    // the frame's edge at angle 0 runs straight up from r 0.4 to 1.0 at x 0
    for (int fila : {380, 400, 420}) {
        const auto px = zk::readPixels(300, fila, 40, 1);
        int blancos = 0;
        for (int i = 0; i < 40; i++)
            blancos += (px[i * 4] > 200 && px[i * 4 + 1] > 200 && px[i * 4 + 2] > 200) ? 1 : 0;
        EXPECT_EQ(blancos, 3) << "row " << fila;
    }
}

TEST_F(Modelos, WallCubeShowsExactlyTheFaceTowardTheViewer)
{
    struct Vista { float angulo, ex, ey; int eje; double lado; };
    // each rotation brings one face of the cube toward +z
    const Vista vistas[6] = {{0, 1, 0, 2, 2},   {180, 1, 0, 2, -2}, {-90, 0, 1, 0, 2},
                             {90, 0, 1, 0, -2}, {90, 1, 0, 1, 2},   {-90, 1, 0, 1, -2}};
    for (const Vista& v : vistas) {
        const auto prims = verLista(listaCubo, 4, v.angulo, v.ex, v.ey);
        ASSERT_FALSE(prims.empty());
        double area = 0;
        for (const zk::FbPrimitive& p : prims) {
            double a = 0;
            for (size_t i = 1; i + 1 < p.v.size(); i++)
                a += std::fabs((p.v[i].x - p.v[0].x) * (p.v[i + 1].y - p.v[0].y) -
                               (p.v[i + 1].x - p.v[0].x) * (p.v[i].y - p.v[0].y)) / 2;
            if (a < 1)
                continue; // a side seen edge-on covers no pixel, culled or not
            area += a;
            for (const zk::FbVertex& q : p.v) {
                const double c[3] = {q.ox, q.oy, q.oz};
                EXPECT_NEAR(c[v.eje], v.lado, 1e-3) << "face " << v.eje << " " << v.lado;
            }
        }
        // the whole face, 4 x 4 units at 80 pixels a unit
        EXPECT_NEAR(area, 320.0 * 320.0, 320.0 * 4);
    }
}

TEST_F(Modelos, XWingFuselageShowsItsTopFromAboveAndItsBellyFromBelow)
{
    // the hull between the canopy and the nose, away from engines and wings
    auto casco = [](const zk::FbVertex& v) { return std::fabs(v.ox) < 1.5 && v.oz > 2.5 && v.oz < 12.2; };
    auto arriba = [&](const zk::FbVertex& v) { return casco(v) && v.oy > 0.5; };
    auto abajo = [&](const zk::FbVertex& v) { return casco(v) && v.oy < -0.2; };
    const auto desdeArriba = verLista(listaXWing, 16, 90, 1, 0);
    const auto desdeAbajo = verLista(listaXWing, 16, -90, 1, 0);
    EXPECT_GT(contar(desdeArriba, arriba), 2);
    EXPECT_EQ(contar(desdeArriba, abajo), 0);
    EXPECT_GT(contar(desdeAbajo, abajo), 2);
    EXPECT_EQ(contar(desdeAbajo, arriba), 0);

    // wing tips and cannons reach about 12 units out on either side
    double xmin = 0, xmax = 0;
    for (const zk::FbVertex& v : zk::allVertices(desdeArriba)) {
        xmin = std::min(xmin, v.ox);
        xmax = std::max(xmax, v.ox);
    }
    EXPECT_NEAR(xmin, -xmax, 0.2);
    EXPECT_GT(xmax, 10.5);
    EXPECT_LT(xmax, 12.5);
}
