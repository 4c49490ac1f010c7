// The RAW-model ship: reading the file, the vertex normals (the same bits as
// the literal all-pairs computation), the progress lines and the drawing.
#include "Nave.h"

#include "Geometria.h"
#include "normales_directas.h"

#include "../datos_escena.h"
#include "gl_test.h"

#include <cstring>
#include <exception>
#include <limits>
#include <memory>
#include <random>
#include <sstream>

using zk::GlTest;

// A ship loaded from `texto`, with what it wrote while loading.
struct Cargada {
    std::unique_ptr<Nave> nave;
    std::string salida;
};

static Cargada cargar(zk::CarpetaDatos& datos, const std::string& texto)
{
    datos.escribir("nave.raw", texto);
    Cargada c;
    zk::StdoutCapture captura;
    c.nave.reset(new Nave(0, 0, 0, 0, 0, 0));
    c.salida = captura.finish();
    return c;
}

static std::string lineas(size_t triangulos)
{
    std::ostringstream s;
    s << "Modelo RAW cargado (" << triangulos << " triangulos), calculando vectores normales...\n"
      << "Fin del calculo de las normales, " << 3 * triangulos << " normales calculadas\n";
    return s.str();
}

static bool mismosBits(const Vector& a, const Vector& b)
{
    const float fa[3] = {a.getX(), a.getY(), a.getZ()};
    const float fb[3] = {b.getX(), b.getY(), b.getZ()};
    return memcmp(fa, fb, sizeof fa) == 0;
}

// Computes the fast normals of `ts` and compares them with the literal ones.
static void compararConDirectas(const std::vector<Triangulo*>& ts, const std::string& que)
{
    std::vector<Vector*> rapidas;
    Nave::calcularNormales(ts, rapidas);
    const std::vector<Vector> directas = normalesDirectas(ts);
    ASSERT_EQ(rapidas.size(), directas.size()) << que;
    for (size_t i = 0; i < directas.size(); i++)
        EXPECT_TRUE(mismosBits(*rapidas[i], directas[i]))
            << que << ": normal " << i << " is (" << rapidas[i]->getX() << ", "
            << rapidas[i]->getY() << ", " << rapidas[i]->getZ() << "), expected ("
            << directas[i].getX() << ", " << directas[i].getY() << ", " << directas[i].getZ()
            << ")";
    for (Vector* v : rapidas)
        delete v;
}

static void liberar(std::vector<Triangulo*>& ts)
{
    for (Triangulo* t : ts)
        delete t;
    ts.clear();
}

static void esperarNormal(const Vector* n, float x, float y, float z)
{
    EXPECT_EQ(n->getX(), x);
    EXPECT_EQ(n->getY(), y);
    EXPECT_EQ(n->getZ(), z);
}

class NaveTest : public ::testing::Test {
protected:
    zk::CarpetaDatos datos;
};

TEST_F(NaveTest, TwoTrianglesShareTheirEdgeNormalsButNotTheirOwn)
{
    Cargada c = cargar(datos, "0 0 0 1 0 0 0 1 0\n1 0 0 1 1 0 0 1 0\n");
    EXPECT_EQ(c.salida, lineas(2));
    const auto& n = c.nave->getNormales();
    ASSERT_EQ(c.nave->getTriangulos().size(), 2u);
    ASSERT_EQ(n.size(), 6u);
    esperarNormal(n[0], 0, 0, 0); // (0,0,0) belongs to the first only
    esperarNormal(n[1], 0, 0, 1);
    esperarNormal(n[2], 0, 0, 1);
    esperarNormal(n[3], 0, 0, 1);
    esperarNormal(n[4], 0, 0, 0); // (1,1,0) belongs to the second only
    esperarNormal(n[5], 0, 0, 1);
    EXPECT_TRUE(c.nave->getTriangulos()[1]->getB() == Punto(1, 1, 0));
}

TEST_F(NaveTest, ALoneTriangleHasZeroNormalsWithOrWithoutAFinalLineEnd)
{
    for (const char* texto : {"0 0 0 1 0 0 0 1 0\n", "0 0 0 1 0 0 0 1 0", "\t0 0 0\n1 0 0\r\n0 1 0  "}) {
        Cargada c = cargar(datos, texto);
        EXPECT_EQ(c.salida, lineas(1)) << texto;
        ASSERT_EQ(c.nave->getNormales().size(), 3u);
        for (const Vector* n : c.nave->getNormales())
            esperarNormal(n, 0, 0, 0);
    }
}

TEST_F(NaveTest, ATriangleWrittenTwiceIsNoNeighbourOfItsCopy)
{
    Cargada c = cargar(datos, "0 0 0 1 0 0 0 1 0\n0 1 0 0 0 0 1 0 0\n");
    ASSERT_EQ(c.nave->getNormales().size(), 6u);
    for (const Vector* n : c.nave->getNormales())
        esperarNormal(n, 0, 0, 0);

    // one-way: a point-like triangle lies wholly inside the first, so the first
    // is no neighbour of it, while it is a neighbour (of zero normal) of the first
    c = cargar(datos, "0 0 0 1 0 0 0 1 0\n0 0 0 0 0 0 0 0 0\n");
    ASSERT_EQ(c.nave->getNormales().size(), 6u);
    for (const Vector* n : c.nave->getNormales())
        esperarNormal(n, 0, 0, 0);
}

TEST_F(NaveTest, ReadingStopsAtTheFirstNumberItCannotRead)
{
    const std::string dos = "0 0 0 1 0 0 0 1 0\n1 0 0 1 1 0 0 1 0\n";
    // an incomplete last group of seven numbers is dropped
    Cargada c = cargar(datos, dos + "5 5 5 6 6 6 7\n");
    EXPECT_EQ(c.salida, lineas(2));
    esperarNormal(c.nave->getNormales()[1], 0, 0, 1);

    // text, a NaN, or a number too large for a float end the model there
    for (const char* resto : {"5 5 5 hola 6 6 7 7 7 8 8 8\n", "nan 0 0 1 1 1 2 2 2\n",
                              "1e39 0 0 1 1 1 2 2 2\n", "1 1 1 2 2 2 3 3 x3\n"}) {
        c = cargar(datos, dos + resto + "9 9 9 9 9 9 9 9 9\n");
        EXPECT_EQ(c.salida, lineas(2)) << resto;
    }

    // numbers in any spacing, signs, fractions and exponents
    c = cargar(datos, "+0 -0.0 0e0 1.5e0 0 0\n\n0 .5E1 0");
    ASSERT_EQ(c.nave->getTriangulos().size(), 1u);
    EXPECT_TRUE(c.nave->getTriangulos()[0]->getC() == Punto(0, 5, 0));

    // nothing, or fewer than nine numbers: an empty model
    for (const char* texto : {"", "1 2 3 4 5 6 7 8", "   \n\n", "abc"}) {
        c = cargar(datos, texto);
        EXPECT_EQ(c.salida, lineas(0)) << texto;
        EXPECT_TRUE(c.nave->getTriangulos().empty());
        EXPECT_TRUE(c.nave->getNormales().empty());
    }
}

TEST_F(NaveTest, AMissingFileThrowsBeforeWritingAnything)
{
    zk::StdoutCapture captura;
    EXPECT_THROW(new Nave(0, 0, 0, 0, 0, 0), std::exception);
    EXPECT_EQ(captura.finish(), "");
}

TEST_F(NaveTest, DeletingTheShipWritesOneLine)
{
    Cargada c = cargar(datos, "0 0 0 1 0 0 0 1 0\n");
    zk::StdoutCapture captura;
    c.nave.reset();
    EXPECT_EQ(captura.finish(), "Nave destruida\n");
}

TEST_F(NaveTest, MillionsOfNumbersLoadWhateverTheirShape)
{
    // 2,000,007 zeros: 222,223 triangles that are all one point, each a copy of all the others
    std::string ceros;
    ceros.reserve(4000020);
    for (int i = 0; i < 2000007; i++)
        ceros += "0 ";
    Cargada c = cargar(datos, ceros);
    EXPECT_EQ(c.salida, lineas(222223));
    for (const Vector* n : c.nave->getNormales())
        ASSERT_TRUE(n->getX() == 0 && n->getY() == 0 && n->getZ() == 0);
}

TEST(NaveNormales, TheFastNormalsHaveTheBitsOfTheLiteralOnes)
{
    // small random models over a few shared points, so that vertices repeat,
    // triangles repeat in other orders, and degenerate ones appear; the
    // coordinates include 0 and -0, which are the same vertex
    const float valores[] = {0.0f, -0.0f, 1.0f, -1.0f, 0.5f, 2.0f, 1e-3f, 3.0e38f};
    std::mt19937 azar(12345);
    for (int modelo = 0; modelo < 60; modelo++) {
        std::vector<Punto> puntos;
        const int cuantosPuntos = 3 + modelo % 17;
        const int gama = modelo % 3 == 0 ? 8 : 7; // 3e38 only in some: it overflows the normals
        for (int i = 0; i < cuantosPuntos; i++)
            puntos.emplace_back(valores[azar() % gama], valores[azar() % gama], valores[azar() % gama]);
        std::vector<Triangulo*> ts;
        const int cuantos = 1 + (int)(azar() % 120);
        for (int i = 0; i < cuantos; i++)
            ts.push_back(new Triangulo(puntos[azar() % puntos.size()], puntos[azar() % puntos.size()],
                                       puntos[azar() % puntos.size()]));
        compararConDirectas(ts, "random model " + std::to_string(modelo));
        liberar(ts);
    }
}

TEST(NaveNormales, CrowdedVerticesAndNaNKeepTheLiteralBits)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    std::vector<Triangulo*> ts;

    // a fan of 100 triangles round one centre, some written twice
    for (int i = 0; i < 100; i++) {
        const float a = i * 0.0628f, b = (i + 1) * 0.0628f;
        ts.push_back(new Triangulo(Punto(0, 0, 0), Punto(std::cos(a), std::sin(a), 0.1f * i),
                                   Punto(std::cos(b), std::sin(b), 0.1f * (i + 1))));
        if (i % 7 == 0)
            ts.push_back(new Triangulo(ts.back()->getC(), ts.back()->getA(), ts.back()->getB()));
    }
    // one triangle 50 times, in rotating orders, and a point-like one
    for (int i = 0; i < 50; i++) {
        const Punto p(5, 5, 5), q(6, 5, 5), r(5, 6, 7);
        ts.push_back(i % 3 == 0 ? new Triangulo(p, q, r)
                     : i % 3 == 1 ? new Triangulo(q, r, p)
                                  : new Triangulo(r, q, p));
    }
    ts.push_back(new Triangulo(Punto(5, 5, 5), Punto(5, 5, 5), Punto(5, 5, 5)));
    // NaN equals nothing, not even itself
    ts.push_back(new Triangulo(Punto(nan, 0, 0), Punto(0, 0, 0), Punto(6, 5, 5)));
    ts.push_back(new Triangulo(Punto(nan, 0, 0), Punto(nan, 0, 0), Punto(nan, 0, 0)));
    ts.push_back(new Triangulo(Punto(0, 0, -0.0f), Punto(5, 6, 7), Punto(nan, 1, 1)));
    compararConDirectas(ts, "crowded model");
    liberar(ts);
}

TEST_F(NaveTest, AFileModelGetsTheLiteralNormals)
{
    // a bumpy grid written to a file, read back, compared
    std::ostringstream texto;
    auto h = [](int i, int j) { return (float)((i * 7 + j * 13) % 5) * 0.25f; };
    for (int i = 0; i < 12; i++)
        for (int j = 0; j < 12; j++) {
            texto << i << ' ' << j << ' ' << h(i, j) << ' ' << i + 1 << ' ' << j << ' '
                  << h(i + 1, j) << ' ' << i << ' ' << j + 1 << ' ' << h(i, j + 1) << '\n';
            texto << i + 1 << ' ' << j << ' ' << h(i + 1, j) << ' ' << i + 1 << ' ' << j + 1
                  << ' ' << h(i + 1, j + 1) << ' ' << i << ' ' << j + 1 << ' ' << h(i, j + 1)
                  << '\n';
        }
    Cargada c = cargar(datos, texto.str());
    EXPECT_EQ(c.salida, lineas(288));
    const std::vector<Vector> directas = normalesDirectas(c.nave->getTriangulos());
    ASSERT_EQ(c.nave->getNormales().size(), directas.size());
    for (size_t i = 0; i < directas.size(); i++)
        ASSERT_TRUE(mismosBits(*c.nave->getNormales()[i], directas[i])) << i;
}

class NaveDibujoTest : public GlTest {
protected:
    zk::CarpetaDatos datos;
};

TEST_F(NaveDibujoTest, DrawsOneTriangleBatchWithEachVertexItsOwnNormal)
{
    Cargada c = cargar(datos, "0 0 0 1 0 0 0 1 0\n1 0 0 1 1 0 0 1 0\n");
    zk::useOrthoBox(10.0f);
    glDisable(GL_CULL_FACE);

    // unlit, the batch has the ship's pale yellow
    glDisable(GL_LIGHTING);
    auto caras = zk::polygons(zk::captureFeedback([&] { c.nave->render(); }));
    ASSERT_EQ(caras.size(), 2u);
    auto v = zk::allVertices(caras);
    EXPECT_TRUE(zk::hayVertice(v, 1.0, 1.0, 0.0));
    EXPECT_NEAR(v[0].b, 0.8f, 1e-6);
    EXPECT_NEAR(v[0].a, 1.0f, 1e-6);

    // lit from +z with the default light and material, a vertex whose normal
    // faces the light is bright (0.84) and one with a zero normal dark (0.04)
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    v = zk::allVertices(zk::captureFeedback([&] { c.nave->render(); }));
    ASSERT_EQ(v.size(), 6u);
    for (const zk::FbVertex& p : v) {
        const bool solo = (std::fabs(p.ox) < 1e-3 && std::fabs(p.oy) < 1e-3) ||
                          (std::fabs(p.ox - 1) < 1e-3 && std::fabs(p.oy - 1) < 1e-3);
        EXPECT_NEAR(p.r, solo ? 0.04f : 0.84f, 0.01f) << p.ox << ", " << p.oy;
    }
    glDisable(GL_LIGHTING);
    glDisable(GL_LIGHT0);

    // an empty model sends an empty batch
    c = cargar(datos, "");
    EXPECT_TRUE(zk::captureFeedback([&] { c.nave->render(); }).empty());
    zk::StdoutCapture silencio;
    c.nave.reset();
}
