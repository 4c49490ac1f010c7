// The camera: one instance, the projection for any window shape, the sway.
#include "Camara.h"
#include "gl_test.h"

#include <cmath>

using zk::GlTest;

namespace {

Camara* camaraDelJuego()
{
    return Camara::getInstance(-25, -25, 100, 0, 0, 40, 0, 1, 0, true);
}

// The y extent of an orthographic projection from its matrix.
double mitadAlto(const std::array<float, 16>& p) { return 1.0 / p[5]; }
double mitadAncho(const std::array<float, 16>& p) { return 1.0 / p[0]; }

} // namespace

TEST(Camara, OneInstanceIgnoresLaterArguments)
{
    Camara* c = camaraDelJuego();
    Camara* d = Camara::getInstance(1, 2, 3, 4, 5, 6, 7, 8, 9, false);
    EXPECT_EQ(c, d);
    EXPECT_EQ(d->getOjoX(), -25.0f);
    EXPECT_EQ(d->getOjoY(), -25.0f);
    EXPECT_EQ(d->getOjoZ(), 100.0f);
    EXPECT_EQ(d->getCentroZ(), 40.0f);
    EXPECT_EQ(d->getArribaY(), 1.0f);
    EXPECT_TRUE(d->getOrtho());
}

TEST(Camara, StepsDivideTheRemainingWay)
{
    Camara* c = camaraDelJuego();
    c->setPasoX(0.0f, 20);
    c->setPasoY(0.0f, 20);
    c->setPasoZ(83.0f, 20);
    EXPECT_FLOAT_EQ(c->getPasoX(), 1.25f);
    EXPECT_FLOAT_EQ(c->getPasoY(), 1.25f);
    EXPECT_FLOAT_EQ(c->getPasoZ(), -0.85f);
}

TEST(Camara, SwayTurnsAtTenStepsEitherSide)
{
    Camara* c = camaraDelJuego();
    const float inicio = c->getOjoX();
    for (int i = 0; i < 10; i++)
        c->balancear();
    EXPECT_FLOAT_EQ(c->getOjoX(), inicio + 5.0f);
    c->balancear();
    EXPECT_FLOAT_EQ(c->getOjoX(), inicio + 4.5f);
    for (int i = 0; i < 19; i++)
        c->balancear();
    EXPECT_FLOAT_EQ(c->getOjoX(), inicio - 5.0f);
    c->balancear();
    EXPECT_FLOAT_EQ(c->getOjoX(), inicio - 4.5f);
    // a full swing takes 40 steps and comes back to the start
    for (int i = 0; i < 9; i++)
        c->balancear();
    EXPECT_FLOAT_EQ(c->getOjoX(), inicio);
}

TEST_F(GlTest, OrthoKeepsXAt41AndFollowsTheWindowShape)
{
    Camara* c = camaraDelJuego();
    c->aplicar(320, 640); // a wide window
    auto p = zk::matrix(GL_PROJECTION_MATRIX);
    EXPECT_NEAR(mitadAncho(p), 41.0, 1e-4);
    EXPECT_NEAR(mitadAlto(p), 20.5, 1e-4);
    c->aplicar(640, 320); // a tall one
    p = zk::matrix(GL_PROJECTION_MATRIX);
    EXPECT_NEAR(mitadAncho(p), 41.0, 1e-4);
    EXPECT_NEAR(mitadAlto(p), 82.0, 1e-3);
    EXPECT_EQ(zk::getInt(GL_MATRIX_MODE), GL_MODELVIEW);
}

TEST_F(GlTest, PerspectiveHas95DegreesAndTheWindowAspect)
{
    Camara* c = camaraDelJuego();
    c->setOrtho(false);
    c->aplicar(320, 640);
    auto p = zk::matrix(GL_PROJECTION_MATRIX);
    const double f = 1.0 / std::tan(95.0 / 2 * M_PI / 180);
    EXPECT_NEAR(p[5], f, 1e-5);
    EXPECT_NEAR(p[0], f / 2.0, 1e-5);
    EXPECT_EQ(p[11], -1.0f);
}

TEST_F(GlTest, ViewLooksFromTheEyeAtTheCentre)
{
    Camara* c = camaraDelJuego();
    c->setOrtho(false);
    c->aplicar(640, 640);
    // the centre lands on the view axis, the eye at the origin of eye space
    auto m = zk::matrix(GL_MODELVIEW_MATRIX);
    auto apply = [&](double x, double y, double z, int row) {
        return m[row] * x + m[4 + row] * y + m[8 + row] * z + m[12 + row];
    };
    EXPECT_NEAR(apply(0, 0, 40, 0), 0.0, 1e-3);
    EXPECT_NEAR(apply(0, 0, 40, 1), 0.0, 1e-3);
    EXPECT_LT(apply(0, 0, 40, 2), 0.0);
    EXPECT_NEAR(apply(-25, -25, 100, 0), 0.0, 1e-3);
    EXPECT_NEAR(apply(-25, -25, 100, 2), 0.0, 1e-3);
}

TEST_F(GlTest, BeforeTheFirstReshapeTheProjectionStaysFinite)
{
    Camara* c = camaraDelJuego();
    for (bool ortho : {true, false}) {
        c->setOrtho(ortho);
        c->aplicar(0, 0);
        for (float v : zk::matrix(GL_PROJECTION_MATRIX))
            EXPECT_TRUE(std::isfinite(v));
        c->aplicar(480, 0);
        for (float v : zk::matrix(GL_PROJECTION_MATRIX))
            EXPECT_TRUE(std::isfinite(v));
    }
}
