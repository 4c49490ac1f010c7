// The drawable base: the box test, the forward direction and positioned drawing.
#include "Dibujable.h"
#include "gl_test.h"

#include <cmath>
#include <limits>

using zk::GlTest;

namespace {

// A drawable that marks its local origin and a point one unit along local x.
class Marca : public Dibujable {
public:
    using Dibujable::Dibujable;
    void draw() override
    {
        glBegin(GL_POINTS);
            glVertex3f(0, 0, 0);
            glVertex3f(1, 0, 0);
            glVertex3f(0, 1, 0);
        glEnd();
    }
};

Marca enemigo(float x) { return Marca(x, 0, 0, 0, 0, 0, 4.0f, 2.0f, 4.0f); }

} // namespace

TEST(Dibujable, BoxTestIsStrictOnEveryAxis)
{
    Marca invasor = enemigo(0);
    Marca disparo(4.0f, 0, 0, 0, 0, 0, 3, 3, 3);
    EXPECT_FALSE(invasor.colisiona(&disparo));
    disparo.setX(3.99f);
    EXPECT_TRUE(invasor.colisiona(&disparo));
    disparo.setX(-3.99f);
    EXPECT_TRUE(invasor.colisiona(&disparo));
    disparo.setY(2.0f);
    EXPECT_FALSE(invasor.colisiona(&disparo));
    disparo.setY(-1.99f);
    disparo.setZ(4.0f);
    EXPECT_FALSE(invasor.colisiona(&disparo));
    disparo.setZ(3.9f);
    EXPECT_TRUE(invasor.colisiona(&disparo));
}

TEST(Dibujable, BoxTestUsesOnlyTheTargetsBox)
{
    Marca invasor = enemigo(0);
    Marca disparo(3.5f, 0, 0, 0, 0, 0, 3, 3, 3);
    EXPECT_TRUE(invasor.colisiona(&disparo));
    EXPECT_FALSE(disparo.colisiona(&invasor));
}

TEST(Dibujable, WithoutABoxNothingCollides)
{
    Marca sinCaja(1, 2, 3, 0, 0, 0);
    Marca mismoSitio(1, 2, 3, 0, 0, 0, 5, 5, 5);
    EXPECT_EQ(sinCaja.getRadioX(), 0.0f);
    EXPECT_EQ(sinCaja.getRadioY(), 0.0f);
    EXPECT_EQ(sinCaja.getRadioZ(), 0.0f);
    EXPECT_FALSE(sinCaja.colisiona(&mismoSitio));
    EXPECT_TRUE(mismoSitio.colisiona(&sinCaja));
}

TEST(Dibujable, NaNPositionsNeverCollide)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    Marca invasor = enemigo(0);
    Marca disparo(0, 0, 0, 0, 0, 0, 3, 3, 3);
    for (int eje = 0; eje < 3; eje++) {
        Marca d = disparo;
        if (eje == 0) d.setX(nan);
        if (eje == 1) d.setY(nan);
        if (eje == 2) d.setZ(nan);
        EXPECT_FALSE(invasor.colisiona(&d)) << "axis " << eje;
        EXPECT_FALSE(d.colisiona(&invasor)) << "axis " << eje;
    }
}

TEST(Dibujable, ForwardDirectionFollowsRotationAboutXOnly)
{
    Marca m(0, 0, 0, 0, 45, 30);
    EXPECT_EQ(m.getDireccionX(), 0.0);
    EXPECT_EQ(m.getDireccionY(), 0.0);
    EXPECT_EQ(m.getDireccionZ(), -1.0);
    m.setRotacionX(90);
    EXPECT_EQ(m.getDireccionY(), 1.0);
    EXPECT_NEAR(m.getDireccionZ(), -6.1e-17, 1e-18);
    EXPECT_LT(m.getDireccionZ(), 0.0);
    m.setRotacionX(30);
    EXPECT_NEAR(m.getDireccionY(), 0.5, 1e-12);
    EXPECT_NEAR(m.getDireccionZ(), -std::sqrt(3.0) / 2, 1e-12);
}

TEST_F(GlTest, RenderMovesToThePoseAndLeavesTheStack)
{
    zk::useOrthoBox(50);
    // turned about Z first, then Y, then X, then moved
    Marca m(10, 20, 5, 90, 0, 90);
    int depth = zk::stackDepth(GL_MODELVIEW_STACK_DEPTH);
    auto before = zk::matrix(GL_MODELVIEW_MATRIX);
    auto v = zk::allVertices(zk::captureFeedback([&] { m.render(); }));
    EXPECT_EQ(zk::stackDepth(GL_MODELVIEW_STACK_DEPTH), depth);
    EXPECT_EQ(zk::matrix(GL_MODELVIEW_MATRIX), before);
    ASSERT_EQ(v.size(), 3u);
    EXPECT_NEAR(v[0].ox, 10, 1e-3);
    EXPECT_NEAR(v[0].oy, 20, 1e-3);
    EXPECT_NEAR(v[0].oz, 5, 1e-3);
    // local x: Z by 90 gives +y, then X by 90 turns +y into +z
    EXPECT_NEAR(v[1].ox, 10, 1e-3);
    EXPECT_NEAR(v[1].oy, 20, 1e-3);
    EXPECT_NEAR(v[1].oz, 6, 1e-3);
    // local y: Z by 90 gives −x, which X leaves alone
    EXPECT_NEAR(v[2].ox, 9, 1e-3);
    EXPECT_NEAR(v[2].oy, 20, 1e-3);
    EXPECT_NEAR(v[2].oz, 5, 1e-3);
}

TEST(Dibujable, MovesAndTurnsByIncrements)
{
    Marca m(1, 2, 3, 10, 20, 30);
    m.trasladar(0.5f, -1, 2);
    m.rotar(1, -2, 3);
    EXPECT_EQ(m.getX(), 1.5f);
    EXPECT_EQ(m.getY(), 1.0f);
    EXPECT_EQ(m.getZ(), 5.0f);
    EXPECT_EQ(m.getRotacionX(), 11.0f);
    EXPECT_EQ(m.getRotacionY(), 18.0f);
    EXPECT_EQ(m.getRotacionZ(), 33.0f);
}
