// Particle systems: the burst, per-frame motion, lifetimes, colour cycling,
// the camera-facing explosion and the fountain.
#include "ParticleSystem.h"

#include "Camara.h"

#include "../datos_escena.h"
#include "gl_test.h"

#include <cstdlib>
#include <memory>

using zk::GlTest;

static const float kFadeMax = (float)(99 / 1000.0 + 0.003); // 0.102
static const float kFadeMin = 0.003f;

// A window looking down -z with an ortho box, a camera whose eye is on +z
// (so the explosion's billboard is the identity) and a spark image.
class ParticulasTest : public GlTest {
protected:
    void SetUp() override
    {
        GlTest::SetUp();
        if (IsSkipped())
            return;
        datos.chispa();
        ojo(0.0f, 0.0f, 100.0f);
        zk::useOrthoBox(50.0f);
    }

    static void ojo(float x, float y, float z)
    {
        Camara* c = Camara::getInstance(x, y, z, 0, 0, 40, 0, 1, 0, true);
        c->setOjoX(x);
        c->setOjoY(y);
        c->setOjoZ(z);
    }

    // Still particles, each losing `fade` per frame.
    static void quietas(ParticleSystem& s, float fade)
    {
        for (int i = 0; i < ParticleSystem::kParticles; i++) {
            Particle& p = s.particle(i);
            p.xi = p.yi = p.zi = 0.0f;
            p.xg = p.yg = p.zg = 0.0f;
            p.fade = fade;
        }
    }

    static std::vector<zk::FbPrimitive> dibujar(ParticleSystem& s)
    {
        return zk::polygons(zk::captureFeedback([&] { s.render(); }));
    }

    zk::CarpetaDatos datos;
};

TEST_F(ParticulasTest, ABurstTakesItsRandomNumbersInOrderWithFloatFades)
{
    srand(7);
    std::unique_ptr<ParticleExplosion> e(new ParticleExplosion(0, 0, 0, 0, 0, 0));
    srand(7);
    bool algunaRapida = false;
    for (int i = 0; i < ParticleSystem::kParticles; i++) {
        const int f = rand() % 100;
        const int xi = (rand() % 50 - 26) * 10, yi = (rand() % 50 - 25) * 10,
                  zi = (rand() % 50 - 25) * 10;
        const Particle& p = e->getParticle(i);
        ASSERT_TRUE(p.active);
        EXPECT_EQ(p.life, 1.0f);
        // an integer quotient would make every fade 0.003
        EXPECT_NEAR(p.fade, f / 1000.0 + 0.003, 1e-7) << "particle " << i;
        algunaRapida |= f > 50;
        EXPECT_EQ(p.xi, (float)xi);
        EXPECT_EQ(p.yi, (float)yi);
        EXPECT_EQ(p.zi, (float)zi);
        EXPECT_EQ(p.x, 0.0f);
        EXPECT_EQ(p.y, 0.0f);
        EXPECT_EQ(p.z, 0.0f);
        EXPECT_EQ(p.r, 1.0f);
        EXPECT_EQ(p.g, 0.5f);
        EXPECT_EQ(p.b, 0.5f);
        EXPECT_EQ(p.yg, -0.8f);
        EXPECT_EQ(p.xg, 0.0f);
        EXPECT_EQ(p.zg, 0.0f);
    }
    EXPECT_TRUE(algunaRapida);
    EXPECT_TRUE(e->isActive());
}

TEST_F(ParticulasTest, AFirstFrameDrawsAtTheOriginThenMovesByVelocityOver300)
{
    std::unique_ptr<ParticleExplosion> e(new ParticleExplosion(0, 0, 0, 0, 0, 0));
    Particle& p = e->particle(0);
    p.xi = 230.0f;
    p.yi = -250.0f;
    p.zi = 30.0f;
    const float vida = 1.0f - p.fade;

    auto caras = dibujar(*e);
    auto v = zk::allVertices(caras);
    // 200 squares of half-size 1.2, each two triangles, all at the origin
    EXPECT_EQ(caras.size(), 400u);
    ASSERT_GE(v.size(), 6u);
    EXPECT_TRUE(zk::hayVertice(v, 1.2, 1.2, 0.0));
    EXPECT_TRUE(zk::hayVertice(v, -1.2, -1.2, 0.0));
    EXPECT_NEAR(v[0].r, 1.0f, 1e-6);
    EXPECT_NEAR(v[0].g, 0.5f, 1e-6);
    EXPECT_NEAR(v[0].a, 1.0f, 1e-6);

    EXPECT_NEAR(p.x, 0.7667f, 1e-4);
    EXPECT_NEAR(p.y, -0.8333f, 1e-4);
    EXPECT_NEAR(p.z, 0.1f, 1e-6);
    EXPECT_EQ(p.yi, -250.8f);
    EXPECT_EQ(p.xi, 230.0f);
    EXPECT_EQ(p.life, vida);

    // the second frame draws the square around the moved particle, and moves it
    // again with the velocity that gravity changed
    v = zk::allVertices(dibujar(*e));
    EXPECT_TRUE(zk::hayVertice(v, 0.7667 + 1.2, -0.8333 + 1.2, 0.1, 1e-3));
    EXPECT_NEAR(p.y, (-250.0f - 250.8f) / 300.0f, 1e-4);
}

TEST_F(ParticulasTest, FadesOf0102And0003LastTenAnd334Frames)
{
    std::unique_ptr<ParticleExplosion> e(new ParticleExplosion(0, 0, 0, 0, 0, 0));
    quietas(*e, kFadeMin);
    e->particle(0).fade = kFadeMax;

    for (int i = 0; i < 9; i++)
        e->render();
    EXPECT_TRUE(e->getParticle(0).active);
    EXPECT_EQ(dibujar(*e).size(), 400u); // the tenth frame still shows it
    EXPECT_FALSE(e->getParticle(0).active);
    EXPECT_NEAR(e->getParticle(0).life, -0.02f, 1e-5);
    EXPECT_EQ(dibujar(*e).size(), 398u);

    for (int i = 12; i < 333; i++) // frames 12 to 332
        e->render();
    EXPECT_TRUE(e->getParticle(1).active);
    EXPECT_EQ(dibujar(*e).size(), 398u); // frame 333
    EXPECT_TRUE(e->getParticle(1).active);
    EXPECT_EQ(dibujar(*e).size(), 398u); // frame 334, the last
    EXPECT_FALSE(e->getParticle(1).active);
    EXPECT_TRUE(e->isActive());
    EXPECT_EQ(dibujar(*e).size(), 0u);
    EXPECT_FALSE(e->isActive());
}

TEST_F(ParticulasTest, ColourStepsEvery21stDrawingShowsOneFrameLaterAndWraps)
{
    std::unique_ptr<ParticleExplosion> e(new ParticleExplosion(0, 0, 0, 0, 0, 0));
    quietas(*e, kFadeMin);
    for (int i = 0; i < 20; i++)
        e->render();
    EXPECT_EQ(e->getColourIndex(), 0);
    e->render(); // 21st
    EXPECT_EQ(e->getColourIndex(), 1);

    auto v = zk::allVertices(dibujar(*e)); // 22nd: given the new colour, still shows the old
    ASSERT_FALSE(v.empty());
    EXPECT_NEAR(v[0].g, 0.5f, 1e-6);
    EXPECT_EQ(e->getParticle(0).g, 0.75f);
    v = zk::allVertices(dibujar(*e)); // 23rd: shows it
    ASSERT_FALSE(v.empty());
    EXPECT_NEAR(v[0].r, 1.0f, 1e-6);
    EXPECT_NEAR(v[0].g, 0.75f, 1e-6);
    EXPECT_NEAR(v[0].b, 0.5f, 1e-6);
    EXPECT_NEAR(v[0].a, 1.0f - 22 * kFadeMin, 1e-5); // alpha is the life

    for (int i = 23; i < 41; i++)
        e->render();
    EXPECT_EQ(e->getColourIndex(), 1);
    e->render(); // 42nd
    EXPECT_EQ(e->getColourIndex(), 2);
    for (int i = 42; i < 231; i++)
        e->render();
    EXPECT_EQ(e->getColourIndex(), 11);
    for (int i = 231; i < 252; i++)
        e->render();
    EXPECT_EQ(e->getColourIndex(), 0);
    e->render();
    EXPECT_EQ(e->getParticle(0).r, 1.0f);
    EXPECT_EQ(e->getParticle(0).g, 0.5f);
    EXPECT_EQ(e->getParticle(0).b, 0.5f);
}

TEST_F(ParticulasTest, AFinishedBurstStaysActiveOneFrameThenDrawsAndCountsNothing)
{
    std::unique_ptr<ParticleExplosion> e(new ParticleExplosion(0, 0, 0, 0, 0, 0));
    quietas(*e, kFadeMax);
    for (int i = 0; i < 10; i++)
        e->render();
    EXPECT_TRUE(e->isActive());
    EXPECT_EQ(dibujar(*e).size(), 0u);
    EXPECT_FALSE(e->isActive());
    // frames of a finished burst do not move the colour on
    for (int i = 0; i < 30; i++)
        e->render();
    EXPECT_EQ(e->getColourIndex(), 0);

    // re-armed: a fresh burst at the origin in the first colour
    e->rearm();
    EXPECT_TRUE(e->isActive());
    for (int i = 0; i < ParticleSystem::kParticles; i++) {
        const Particle& p = e->getParticle(i);
        EXPECT_TRUE(p.active);
        EXPECT_EQ(p.life, 1.0f);
        EXPECT_EQ(p.x, 0.0f);
        EXPECT_EQ(p.r, 1.0f);
        EXPECT_EQ(p.g, 0.5f);
    }
    EXPECT_EQ(dibujar(*e).size(), 400u);
}

TEST_F(ParticulasTest, ExplosionSquaresFaceTheEyeAndLeaveTheirDrawingState)
{
    std::unique_ptr<ParticleExplosion> e(new ParticleExplosion(5, 0, 0, 0, 0, 0));
    quietas(*e, kFadeMin);

    // seen from +x the squares stand in the y-z plane around the system's place
    ojo(100.0f, 0.0f, 0.0f);
    auto v = zk::allVertices(dibujar(*e));
    ASSERT_FALSE(v.empty());
    for (const zk::FbVertex& p : v)
        ASSERT_NEAR(p.ox, 5.0, 1e-4);
    EXPECT_TRUE(zk::hayVertice(v, 5.0, 1.2, -1.2));
    EXPECT_TRUE(zk::hayVertice(v, 5.0, -1.2, 1.2));

    // from above and behind, the side axis is not normalised: squares shrink by 0.707
    ojo(0.0f, 100.0f, 100.0f);
    v = zk::allVertices(dibujar(*e));
    EXPECT_TRUE(zk::hayVertice(v, 5.0 + 1.2 * 0.70710678, 0.6, -0.6, 1e-3));

    glDisable(GL_TEXTURE_2D);
    glEnable(GL_LIGHTING);
    glDisable(GL_BLEND);
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_CULL_FACE);
    glBindTexture(GL_TEXTURE_2D, 0);
    const int profundidad = zk::stackDepth(GL_MODELVIEW_STACK_DEPTH);
    const auto antes = zk::matrix(GL_MODELVIEW_MATRIX);
    e->render();
    EXPECT_TRUE(zk::enabled(GL_TEXTURE_2D));
    EXPECT_FALSE(zk::enabled(GL_LIGHTING));
    EXPECT_TRUE(zk::enabled(GL_BLEND));
    EXPECT_TRUE(zk::enabled(GL_DEPTH_TEST));
    EXPECT_FALSE(zk::enabled(GL_CULL_FACE));
    EXPECT_EQ((unsigned)zk::getInt(GL_TEXTURE_BINDING_2D), e->getTexture());
    EXPECT_NE(e->getTexture(), 0u);
    EXPECT_EQ(zk::stackDepth(GL_MODELVIEW_STACK_DEPTH), profundidad);
    EXPECT_EQ(zk::matrix(GL_MODELVIEW_MATRIX), antes);
}

TEST_F(ParticulasTest, EverySystemMakesItsOwnSparkTexture)
{
    std::unique_ptr<ParticleExplosion> a(new ParticleExplosion(0, 0, 0, 0, 0, 0));
    std::unique_ptr<ParticleSystem> b(new ParticleSystem(0, 0, 0, 0, 0, 0));
    EXPECT_NE(a->getTexture(), b->getTexture());
    EXPECT_TRUE(glIsTexture(a->getTexture()));
    EXPECT_TRUE(glIsTexture(b->getTexture()));
}

TEST_F(ParticulasTest, TheFountainReEmitsDeadSparksAndNeverFaces)
{
    std::unique_ptr<ParticleSystem> f(new ParticleSystem(0, 0, 0, 0, 0, 0));
    quietas(*f, kFadeMin);
    f->particle(0).fade = kFadeMax;
    f->particle(0).yi = 30.0f;
    ojo(100.0f, 0.0f, 0.0f); // no billboard: squares stay in the x-y plane

    for (int i = 0; i < 9; i++)
        f->render();
    srand(11);
    auto v = zk::allVertices(dibujar(*f)); // the tenth frame kills particle 0
    EXPECT_TRUE(zk::hayVertice(v, 0.25, 0.25, 0.0));
    EXPECT_TRUE(zk::hayVertice(v, -0.25, -0.25, 0.0));
    EXPECT_FALSE(zk::hayVertice(v, 1.2, 1.2, 0.0));

    srand(11);
    const int r1 = rand() % 100, r2 = rand() % 60, r3 = rand() % 60, r4 = rand() % 60;
    const Particle& p = f->getParticle(0);
    EXPECT_TRUE(p.active);
    EXPECT_EQ(p.life, 1.0f);
    EXPECT_NEAR(p.fade, r1 / 1000.0 + 0.003, 1e-7);
    EXPECT_EQ(p.x, 0.0f);
    EXPECT_EQ(p.y, 0.0f);
    EXPECT_EQ(p.xi, (float)(r2 - 32)); // the x and y speeds start at 0
    EXPECT_EQ(p.yi, (float)(r3 - 30));
    EXPECT_EQ(p.zi, (float)(r4 - 30));
    EXPECT_EQ(p.r, 1.0f);

    // it never runs out
    for (int i = 0; i < 400; i++)
        f->render();
    EXPECT_TRUE(f->isActive());
    EXPECT_EQ(dibujar(*f).size(), 400u);
    EXPECT_EQ(f->getColourIndex(), 411 / 21 % 12);
}

TEST_F(ParticulasTest, SparksAreDepthTestedButWriteNoDepth)
{
    std::unique_ptr<ParticleExplosion> e(new ParticleExplosion(0, 0, 0, 0, 0, 0));
    quietas(*e, kFadeMin);
    glClearDepth(1.0);
    glClear(GL_DEPTH_BUFFER_BIT);
    glDepthMask(GL_TRUE);
    e->render();
    // the burst covers the middle of the window, yet the depth stays cleared
    std::vector<float> depth(64 * 64);
    glReadPixels(288, 288, 64, 64, GL_DEPTH_COMPONENT, GL_FLOAT, depth.data());
    for (float d : depth)
        ASSERT_EQ(d, 1.0f);
    EXPECT_EQ(zk::getInt(GL_DEPTH_WRITEMASK), GL_TRUE);
    // and a caller that had depth writes off finds them off again
    glDepthMask(GL_FALSE);
    e->render();
    EXPECT_EQ(zk::getInt(GL_DEPTH_WRITEMASK), GL_FALSE);
    glDepthMask(GL_TRUE);
}
