// The registry of running effects: drawing order, duplicates, removal, the
// walk that drops finished bursts, and who deletes a burst whose ship is gone.
#include "ParticleRegistry.h"

#include "Camara.h"
#include "ParticleSystem.h"

#include "../datos_escena.h"
#include "gl_test.h"

#include <memory>

using zk::GlTest;

class RegistroTest : public GlTest {
protected:
    void SetUp() override
    {
        GlTest::SetUp();
        if (IsSkipped())
            return;
        datos.chispa();
        Camara::getInstance(0, 0, 100, 0, 0, 40, 0, 1, 0, true)->setOjoX(0);
        Camara::getInstance(0, 0, 100, 0, 0, 40, 0, 1, 0, true)->setOjoY(0);
        Camara::getInstance(0, 0, 100, 0, 0, 40, 0, 1, 0, true)->setOjoZ(100);
        zk::useOrthoBox(50.0f);
        registro = ParticleRegistry::getInstance();
    }

    void TearDown() override
    {
        // leave no entry behind for a later test of this process
        if (registro != nullptr)
            while (!registro->entries().empty())
                registro->remove(registro->entries().front());
    }

    // A burst whose particles all die on their tenth frame, or never move.
    static ParticleExplosion* explosion(float x, float fade = 0.102f)
    {
        ParticleExplosion* e = new ParticleExplosion(x, 0, 0, 0, 0, 0);
        for (int i = 0; i < ParticleSystem::kParticles; i++) {
            Particle& p = e->particle(i);
            p.xi = p.yi = p.zi = 0.0f;
            p.xg = p.yg = p.zg = 0.0f;
            p.fade = fade;
        }
        return e;
    }

    size_t polygonos()
    {
        return zk::polygons(zk::captureFeedback([&] { registro->drawAll(); })).size();
    }

    zk::CarpetaDatos datos;
    ParticleRegistry* registro = nullptr;
};

TEST_F(RegistroTest, OneRegistryDrawingEveryEntryAtItsPlace)
{
    EXPECT_EQ(ParticleRegistry::getInstance(), registro);
    EXPECT_TRUE(registro->entries().empty());
    std::unique_ptr<ParticleExplosion> a(explosion(-20.0f)), b(explosion(20.0f));
    registro->add(a.get());
    registro->add(b.get());
    const int profundidad = zk::stackDepth(GL_MODELVIEW_STACK_DEPTH);
    auto v = zk::allVertices(zk::captureFeedback([&] { registro->drawAll(); }));
    EXPECT_EQ(v.size(), 2u * 400 * 3);
    EXPECT_TRUE(zk::hayVertice(v, -20.0 + 1.2, 1.2, 0.0));
    EXPECT_TRUE(zk::hayVertice(v, 20.0 - 1.2, -1.2, 0.0));
    EXPECT_EQ(zk::stackDepth(GL_MODELVIEW_STACK_DEPTH), profundidad);
}

TEST_F(RegistroTest, AddedTwiceIsDrawnAndMovedTwicePerFrame)
{
    std::unique_ptr<ParticleExplosion> e(explosion(0.0f, 0.003f));
    e->particle(0).xi = 30.0f;
    registro->add(e.get());
    registro->add(e.get());
    EXPECT_EQ(polygonos(), 800u);
    EXPECT_NEAR(e->getParticle(0).x, 0.2f, 1e-6);
    EXPECT_NEAR(e->getParticle(0).life, 1.0f - 2 * 0.003f, 1e-6);
}

TEST_F(RegistroTest, RemoveErasesOnlyTheFirstEntryAndIgnoresStrangers)
{
    std::unique_ptr<ParticleExplosion> a(explosion(0.0f)), b(explosion(1.0f)),
        extra(explosion(2.0f));
    registro->add(a.get());
    registro->add(b.get());
    registro->add(a.get());
    registro->remove(extra.get());
    EXPECT_EQ(registro->entries(), (std::vector<ParticleSystem*>{a.get(), b.get(), a.get()}));
    registro->remove(a.get());
    EXPECT_EQ(registro->entries(), (std::vector<ParticleSystem*>{b.get(), a.get()}));
}

TEST_F(RegistroTest, AFinishedBurstLeavesOneFrameAfterItsLastDeathAndIsNotDeleted)
{
    std::unique_ptr<ParticleExplosion> corta(explosion(0.0f)), larga(explosion(5.0f, 0.003f));
    const int antes = ParticleSystem::instances();
    registro->add(corta.get());
    registro->add(larga.get());
    for (int i = 0; i < 10; i++)
        registro->drawAll();
    EXPECT_EQ(registro->entries().size(), 2u); // the last particles died on frame 10
    EXPECT_EQ(polygonos(), 400u);              // frame 11: only the long one draws
    EXPECT_EQ(registro->entries(), (std::vector<ParticleSystem*>{larga.get()}));
    EXPECT_EQ(ParticleSystem::instances(), antes);
    // still ours: alive, usable, and able to play again
    EXPECT_FALSE(corta->isActive());
    corta->rearm();
    registro->add(corta.get());
    EXPECT_EQ(polygonos(), 800u);
}

TEST_F(RegistroTest, AHandedOverBurstPlaysOnAndIsDeletedWhenItsLastEntryLeaves)
{
    // as an enemy ship's: registered, then its ship deleted at once
    const int antes = ParticleSystem::instances();
    ParticleExplosion* huerfana = explosion(0.0f);
    std::unique_ptr<ParticleExplosion> testigo(explosion(0.0f));
    registro->add(huerfana);
    registro->add(huerfana);
    registro->handOver(huerfana);
    EXPECT_EQ(registro->orphans(), (std::vector<ParticleSystem*>{huerfana}));

    // drawn exactly like a twin whose owner is still there; listed twice, both
    // move twice a frame and are over after five frames
    registro->add(testigo.get());
    registro->add(testigo.get());
    for (int i = 0; i < 5; i++)
        EXPECT_EQ(polygonos(), 4u * 400);
    EXPECT_EQ(registro->entries().size(), 4u);
    // both entries of the orphan go in the same walk, and it is deleted once
    // (AddressSanitizer reports a second delete or a later use)
    EXPECT_EQ(polygonos(), 0u);
    EXPECT_EQ(registro->entries().size(), 0u);
    EXPECT_EQ(ParticleSystem::instances(), antes + 1);
    EXPECT_FALSE(testigo->isActive()); // the owned twin is left alone
    EXPECT_TRUE(registro->orphans().empty());
}

TEST_F(RegistroTest, HandingOverAnUnlistedBurstDeletesItAndNullIsIgnored)
{
    const int antes = ParticleSystem::instances();
    registro->handOver(explosion(0.0f));
    EXPECT_EQ(ParticleSystem::instances(), antes);
    registro->handOver(nullptr);
    EXPECT_TRUE(registro->orphans().empty());
    EXPECT_TRUE(registro->entries().empty());
}

// A new game ends every burst at once: handed-over ones are deleted, owned
// ones left to their owners; a later system takes a freed spark texture.
TEST_F(RegistroTest, ClearEmptiesTheListDeletesOnlyOrphansAndTheirSparksServeAgain)
{
    const int antes = ParticleSystem::instances();
    ParticleExplosion* huerfana = explosion(0.0f);
    const unsigned int chispa = huerfana->getTexture();
    std::unique_ptr<ParticleExplosion> propia(explosion(1.0f));
    registro->add(huerfana);
    registro->add(propia.get());
    registro->add(huerfana);
    registro->handOver(huerfana);
    registro->clear();
    EXPECT_TRUE(registro->entries().empty());
    EXPECT_TRUE(registro->orphans().empty());
    EXPECT_EQ(ParticleSystem::instances(), antes + 1);
    std::unique_ptr<ParticleExplosion> nueva(explosion(2.0f));
    EXPECT_EQ(nueva->getTexture(), chispa);
    EXPECT_TRUE(glIsTexture(nueva->getTexture()));
}
