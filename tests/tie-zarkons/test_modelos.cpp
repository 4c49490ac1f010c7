// The models: compiled once, culled where they should be, shaped as drawn,
// checked through feedback vertices and pixels of a real window.
#include "gl_test.h"
#include "globales.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
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

// The formation's bodies and the X-Wing drawn from their arrays must show the
// pixels of their lists, lit alike; a wrong matrix, a flipped winding, a lost
// part or a bad normal shows as pixels that differ. The arrays' cylinders are
// one stack where the lists' have twelve, so a highlight along one is lit at
// its ends only and may differ a little in a few pixels: at most 0.5%, the
// tolerance of the game's frames. The Ties' window frames must be the same
// lines in the same order, for smoothing blends.
TEST_F(Modelos, TheFormationAndTheXWingFromTheirArraysLookAsTheirLists)
{
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    glEnable(GL_NORMALIZE);
    glEnable(GL_COLOR_MATERIAL);
    glColorMaterial(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE);
    glLightModeli(GL_LIGHT_MODEL_TWO_SIDE, 1);
    glLightModeli(GL_LIGHT_MODEL_LOCAL_VIEWER, 1);
    const float luz[4] = {1.0f, 1.0f, 1.0f, 0.0f};
    const float brillo[4] = {1.0f, 1.0f, 1.0f, 1.0f};
    glLightfv(GL_LIGHT0, GL_POSITION, luz);
    glMaterialfv(GL_FRONT, GL_SPECULAR, brillo);
    glMaterialf(GL_FRONT, GL_SHININESS, 100.0f);

    auto foto = [](const std::function<void()>& dibujar) {
        glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        dibujar();
        return zk::readPixels(0, 0, 640, 640);
    };
    // pixels lit in the lists' picture, and pixels more than 8 levels apart
    auto comparar = [](const std::vector<unsigned char>& a, const std::vector<unsigned char>& b,
                       int& cubiertos, int& distintos) {
        cubiertos = distintos = 0;
        for (size_t i = 0; i < a.size(); i += 4) {
            int d = 0;
            for (size_t k = 0; k < 3; k++)
                d = std::max(d, std::abs(a[i + k] - b[i + k]));
            cubiertos += (a[i] | a[i + 1] | a[i + 2]) != 0;
            distintos += d > 8;
        }
    };
    auto lineas = [](const std::vector<zk::FbPrimitive>& prims) {
        std::vector<zk::FbPrimitive> out;
        for (const zk::FbPrimitive& p : prims)
            if (p.token == GL_LINE_TOKEN || p.token == GL_LINE_RESET_TOKEN)
                out.push_back(p);
        return out;
    };
    const float xy[4] = {-6.0f, 3.0f, 7.0f, -2.0f};
    auto tiesDeLista = [&](GLuint lista) {
        for (int k = 0; k < 2; k++) {
            glPushMatrix();
            glTranslatef(xy[2 * k], xy[2 * k + 1], 0.0f);
            glRotatef(15.0f, 1.0f, 0.0f, 0.0f);
            glCallList(lista);
            glPopMatrix();
        }
    };
    struct Vista { float angulo, ex, ey; };
    for (const Vista& v : {Vista{0, 1, 0}, Vista{90, 0, 1}, Vista{-60, 1, 0}, Vista{150, 1, 1}}) {
        zk::useOrthoBox(16);
        glRotatef(v.angulo, v.ex, v.ey, 0.0f);
        int cubiertos, distintos;
        comparar(foto([&] { tiesDeLista(listaCuerpoTie); }),
                 foto([&] { dibujarTies(xy, 2, false); }), cubiertos, distintos);
        EXPECT_TRUE(zk::enabled(GL_CULL_FACE));
        EXPECT_GT(cubiertos, 3000) << "view " << v.angulo;
        EXPECT_LE(distintos, cubiertos / 200) << "Ties, view " << v.angulo << ", of " << cubiertos;

        glRotatef(90.0f, 1.0f, 0.0f, 0.0f); // the X-Wing as the field turns it
        glRotatef(180.0f, 0.0f, 1.0f, 0.0f);
        comparar(foto([] { glCallList(listaXWing); }), foto(dibujarXWing), cubiertos, distintos);
        EXPECT_GT(cubiertos, 3000) << "view " << v.angulo;
        EXPECT_LE(distintos, cubiertos / 200) << "X-Wing, view " << v.angulo << ", of " << cubiertos;

        zk::useOrthoBox(16);
        glRotatef(v.angulo, v.ex, v.ey, 0.0f);
        const auto marcosListas = lineas(zk::captureFeedback([&] { tiesDeLista(listaMarcoTie); }));
        const auto marcosJuntos = lineas(zk::captureFeedback([&] { dibujarTies(xy, 2, true); }));
        ASSERT_EQ(marcosListas.size(), 2u * 24u);
        ASSERT_EQ(marcosJuntos.size(), marcosListas.size());
        auto igual = [](const zk::FbVertex& a, const zk::FbVertex& b) {
            return std::fabs(a.x - b.x) < 1e-2 && std::fabs(a.y - b.y) < 1e-2 &&
                   std::fabs(a.r - b.r) < 2.0 / 255 && std::fabs(a.g - b.g) < 2.0 / 255;
        };
        for (size_t i = 0; i < marcosListas.size(); i++)
            EXPECT_TRUE(igual(marcosListas[i].v[0], marcosJuntos[i].v[0]) &&
                        igual(marcosListas[i].v[1], marcosJuntos[i].v[1]))
                << "segment " << i << ", view " << v.angulo;
    }
    // the walls' first vertex takes the normal the X-Wing leaves behind
    glColor3f(0, 0, 0);
    glNormal3f(0, 0, 0);
    glCallList(listaXWing);
    const auto colorLista = zk::getFloat4(GL_CURRENT_COLOR);
    const auto normalLista = zk::getFloat4(GL_CURRENT_NORMAL);
    glColor3f(0, 0, 0);
    glNormal3f(0, 0, 0);
    dibujarXWing();
    const auto colorJunto = zk::getFloat4(GL_CURRENT_COLOR);
    const auto normalJunto = zk::getFloat4(GL_CURRENT_NORMAL);
    for (int i = 0; i < 3; i++) {
        EXPECT_NEAR(colorJunto[i], colorLista[i], 1e-6);
        EXPECT_NEAR(normalJunto[i], normalLista[i], 1e-5);
    }
    EXPECT_FALSE(zk::enabled(GL_LINE_SMOOTH));
    EXPECT_FLOAT_EQ(zk::getFloat(GL_LINE_WIDTH), 1.0f);
    // none drawn, and the colour left black as after the body's list
    dibujarTies(xy, 0, true);
    glColor3f(1, 1, 1);
    dibujarTies(xy, 1, false);
    const auto c = zk::getFloat4(GL_CURRENT_COLOR);
    EXPECT_EQ(c[0] + c[1] + c[2], 0.0f);
}
