// Enemy ships: the sweep, firing, the explosion hand-over, the model.
#include "Invasor.h"

#include "Camara.h"
#include "DisparoE.h"
#include "DisplayListFactory.h"
#include "ParticleRegistry.h"
#include "ParticleSystem.h"

#include "../datos_escena.h"
#include "gl_test.h"

#include <memory>

using zk::GlTest;

class InvasorTest : public GlTest {
protected:
    void SetUp() override
    {
        GlTest::SetUp();
        if (IsSkipped())
            return;
        datos.todo();
        Camara::getInstance(0, 0, 100, 0, 0, 40, 0, 1, 0, true);
        zk::useOrthoBox(100.0f);
    }

    void TearDown() override
    {
        ParticleRegistry* r = ParticleRegistry::getInstance();
        while (!r->entries().empty())
            r->remove(r->entries().front());
    }

    static Invasor* borrarSinRuido(Invasor* i)
    {
        zk::StdoutCapture silencio;
        delete i;
        return nullptr;
    }

    zk::CarpetaDatos datos;
};

TEST_F(InvasorTest, TheSweepTurnsAndStepsForwardAtEitherEnd)
{
    std::unique_ptr<Invasor> inv(new Invasor(10.0f, 5.0f, 25.0f, 0.0f, 0.0f, 0.0f));
    for (int i = 0; i < 20; i++)
        inv->mover();
    EXPECT_EQ(inv->getX(), 5.0f);
    EXPECT_EQ(inv->getZ(), 25.0f);
    inv->mover(); // 21
    EXPECT_EQ(inv->getX(), 5.25f);
    EXPECT_EQ(inv->getZ(), 25.5f);
    for (int i = 21; i < 60; i++)
        inv->mover();
    EXPECT_EQ(inv->getX(), 15.0f);
    EXPECT_EQ(inv->getZ(), 25.5f);
    inv->mover(); // 61
    EXPECT_EQ(inv->getX(), 14.75f);
    EXPECT_EQ(inv->getZ(), 26.0f);
    // a full cycle is 80 calls and never leaves start x +- 5
    for (int i = 61; i < 100; i++) {
        inv->mover();
        ASSERT_GE(inv->getX(), 5.0f);
        ASSERT_LE(inv->getX(), 15.0f);
    }
    EXPECT_EQ(inv->getX(), 5.0f);
    EXPECT_EQ(inv->getZ(), 26.0f);
    EXPECT_EQ(inv->getY(), 5.0f);
    borrarSinRuido(inv.release());
}

TEST_F(InvasorTest, DrawsTheSharedEnemyModelUntilItExplodes)
{
    std::unique_ptr<Invasor> a(new Invasor(-10.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f));
    std::unique_ptr<Invasor> b(new Invasor(10.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f));
    EXPECT_EQ(Invasor::modelo, DisplayListFactory::getNaveOpen());
    auto v = zk::allVertices(zk::captureFeedback([&] { a->render(); }));
    ASSERT_EQ(v.size(), 3u);
    EXPECT_TRUE(zk::hayVertice(v, -8.0, 0.0, 0.0)); // legs of 2
    b->explotar();
    EXPECT_TRUE(b->estaDestruido());
    EXPECT_TRUE(zk::captureFeedback([&] { b->render(); }).empty());

    // a destroyed ship still fires from where it was
    std::unique_ptr<DisparoE> d(b->disparar());
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->getX(), 10.0f);
    zk::StdoutCapture silencio;
    a.reset();
    b.reset();
    d.reset();
}

TEST_F(InvasorTest, FiresAnEnemyShotAtItsPose)
{
    std::unique_ptr<Invasor> inv(new Invasor(1.0f, 2.0f, 3.0f, 0.0f, 15.0f, 30.0f));
    std::unique_ptr<DisparoE> d(inv->disparar());
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->getX(), 1.0f);
    EXPECT_EQ(d->getY(), 2.0f);
    EXPECT_EQ(d->getZ(), 3.0f);
    EXPECT_EQ(d->getRotacionY(), 15.0f);
    EXPECT_EQ(d->getRotacionZ(), 30.0f);
    d->mover();
    EXPECT_EQ(d->getZ(), 4.0f);
    zk::StdoutCapture silencio;
    d.reset();
    inv.reset();
}

TEST_F(InvasorTest, ItsBurstOutlivesTheShipAndIsFreedWhenOver)
{
    ParticleRegistry* r = ParticleRegistry::getInstance();
    const int antes = ParticleSystem::instances();
    Invasor* inv = new Invasor(-10.0f, 20.0f, 15.0f, 0.0f, 0.0f, 0.0f);
    inv->mover();
    ParticleExplosion* e = inv->getExplosion();
    inv->explotar();
    EXPECT_EQ(r->entries(), (std::vector<ParticleSystem*>{e}));
    EXPECT_EQ(e->getX(), -10.25f);
    EXPECT_EQ(e->getY(), 20.0f);
    EXPECT_EQ(e->getZ(), 15.0f);
    {
        // the game deletes the ship right after the hit
        zk::StdoutCapture salida;
        delete inv;
        EXPECT_EQ(salida.finish(), "Invasor destruido\n");
    }
    // the burst goes on where the ship was
    auto v = zk::allVertices(zk::captureFeedback([&] { r->drawAll(); }));
    EXPECT_EQ(v.size(), 400u * 3);
    EXPECT_TRUE(zk::hayVertice(v, -10.25 + 1.2, 20.0 + 1.2, 15.0));
    for (int i = 0; i < 400 && !r->entries().empty(); i++)
        r->drawAll();
    // gone from the list, and freed
    EXPECT_TRUE(r->entries().empty());
    EXPECT_TRUE(r->orphans().empty());
    EXPECT_EQ(ParticleSystem::instances(), antes);
}

TEST_F(InvasorTest, AShipNeverHitTakesItsBurstWithIt)
{
    const int antes = ParticleSystem::instances();
    borrarSinRuido(new Invasor(0, 0, 0, 0, 0, 0));
    EXPECT_EQ(ParticleSystem::instances(), antes);
    EXPECT_TRUE(ParticleRegistry::getInstance()->entries().empty());
}

TEST_F(GlTest, AMissingModelFailsTheEnemyShipWithoutLeakingItsBurst)
{
    if (Invasor::modelo != nullptr)
        GTEST_SKIP() << "an earlier test in this process already loaded the model";
    zk::CarpetaDatos datos;
    datos.chispa();
    zk::StdoutCapture salida;
    EXPECT_THROW(new Invasor(0, 0, 0, 0, 0, 0), std::exception);
    EXPECT_EQ(salida.finish().find("Invasor destruido"), std::string::npos);
    EXPECT_EQ(ParticleSystem::instances(), 0); // its burst was made and freed
}
