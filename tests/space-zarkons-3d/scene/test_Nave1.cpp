// The player's ship: moves and tilts, alternating guns, reload, energy, the
// explosion and the way back, fly-out velocity, the model switch.
#include "Nave1.h"

#include "Camara.h"
#include "Disparo.h"
#include "DisplayListFactory.h"
#include "ParticleRegistry.h"
#include "ParticleSystem.h"

#include "../datos_escena.h"
#include "gl_test.h"

#include <memory>

using zk::GlTest;

class Nave1Test : public GlTest {
protected:
    void SetUp() override
    {
        GlTest::SetUp();
        if (IsSkipped())
            return;
        datos.todo();
        Camara::getInstance(0, 0, 100, 0, 0, 40, 0, 1, 0, true);
        zk::useOrthoBox(100.0f);
        nave.reset(new Nave1(0.0f, -10.0f, 55.0f, 0.0f, 180.0f, 0.0f));
    }

    void TearDown() override
    {
        zk::StdoutCapture silencio;
        nave.reset();
        ParticleRegistry* r = ParticleRegistry::getInstance();
        while (!r->entries().empty())
            r->remove(r->entries().front());
    }

    std::vector<zk::FbVertex> dibujo()
    {
        return zk::allVertices(zk::captureFeedback([&] { nave->render(); }));
    }

    zk::CarpetaDatos datos;
    std::unique_ptr<Nave1> nave;
};

TEST_F(Nave1Test, MovesOneUnitAndTiltsThreeDegreesSidewaysTwoUpAndDown)
{
    nave->moverIzquierda();
    nave->moverIzquierda();
    EXPECT_EQ(nave->getX(), -2.0f);
    EXPECT_EQ(nave->getRotacionZ(), -6.0f);
    nave->moverDerecha();
    EXPECT_EQ(nave->getX(), -1.0f);
    EXPECT_EQ(nave->getRotacionZ(), -3.0f);
    nave->moverArriba();
    EXPECT_EQ(nave->getY(), -9.0f);
    EXPECT_EQ(nave->getRotacionX(), 2.0f);
    nave->moverAbajo();
    nave->moverAbajo();
    EXPECT_EQ(nave->getY(), -11.0f);
    EXPECT_EQ(nave->getRotacionX(), -2.0f);
    EXPECT_EQ(nave->getZ(), 55.0f);
    EXPECT_EQ(nave->getRotacionY(), 180.0f);
}

TEST_F(Nave1Test, FirstAttemptIsRefusedButTurnsTheGunsThenShotsAlternate)
{
    EXPECT_EQ(nave->disparar(), nullptr);
    nave->recargar();
    std::unique_ptr<Disparo> a(nave->disparar());
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->getX(), -4.0f);
    EXPECT_EQ(a->getY(), -10.0f);
    EXPECT_EQ(a->getZ(), 55.0f);
    EXPECT_EQ(a->getRotacionY(), 180.0f);
    // one reload, one shot
    EXPECT_EQ(nave->disparar(), nullptr);
    nave->recargar();
    nave->recargar();
    std::unique_ptr<Disparo> b(nave->disparar());
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(b->getX(), -4.0f); // the refused call in between turned the guns back

    nave->recargar();
    std::unique_ptr<Disparo> c(nave->disparar());
    nave->recargar();
    std::unique_ptr<Disparo> d(nave->disparar());
    ASSERT_NE(c, nullptr);
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(c->getX(), 4.0f);
    EXPECT_EQ(d->getX(), -4.0f);

    // a tilted ship fires tilted shots
    nave->moverArriba();
    nave->recargar();
    std::unique_ptr<Disparo> e(nave->disparar());
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->getRotacionX(), 2.0f);
    EXPECT_EQ(e->getY(), -9.0f);
}

TEST_F(Nave1Test, EnergyLoses25PerHitWithoutFloor)
{
    EXPECT_EQ(nave->getEnergia(), 100);
    for (int i = 0; i < 4; i++)
        nave->quitarEnergia();
    EXPECT_EQ(nave->getEnergia(), 0);
    nave->quitarEnergia();
    EXPECT_EQ(nave->getEnergia(), -25);
}

TEST_F(Nave1Test, ExplodingHandsTheBurstOverAtThePoseAndRevivingTakesItBack)
{
    ParticleRegistry* r = ParticleRegistry::getInstance();
    ParticleExplosion* e = nave->getExplosion();
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(dibujo().size(), 3u); // the player model: one triangle
    EXPECT_TRUE(zk::hayVertice(dibujo(), 0.0, -10.0 + 3.0, 55.0));

    nave->moverDerecha();
    nave->moverArriba();
    nave->quitarEnergia();
    nave->explotar();
    EXPECT_TRUE(dibujo().empty());
    EXPECT_EQ(r->entries(), (std::vector<ParticleSystem*>{e}));
    EXPECT_EQ(e->getX(), 1.0f);
    EXPECT_EQ(e->getY(), -9.0f);
    EXPECT_EQ(e->getZ(), 55.0f);
    EXPECT_EQ(e->getRotacionX(), 2.0f);
    EXPECT_EQ(e->getRotacionY(), 180.0f);
    EXPECT_EQ(e->getRotacionZ(), 3.0f);

    for (int i = 0; i < 30; i++)
        r->drawAll();
    nave->reiniciar();
    EXPECT_TRUE(r->entries().empty());
    EXPECT_EQ(nave->getEnergia(), 100);
    EXPECT_TRUE(e->isActive());
    EXPECT_EQ(e->getParticle(0).x, 0.0f);
    EXPECT_EQ(e->getParticle(0).life, 1.0f);
    EXPECT_EQ(nave->getX(), 1.0f); // revived in place
    EXPECT_EQ(nave->getRotacionZ(), 3.0f);
    EXPECT_EQ(dibujo().size(), 3u);
}

TEST_F(Nave1Test, RevivingWithTheBurstNotListedLeavesTheRegistryAlone)
{
    ParticleRegistry* r = ParticleRegistry::getInstance();
    std::unique_ptr<ParticleExplosion> otra(new ParticleExplosion(0, 0, 0, 0, 0, 0));
    r->add(otra.get());
    nave->getExplosion()->particle(7).life = -1.0f;
    nave->getExplosion()->particle(7).active = false;
    nave->quitarEnergia();
    nave->reiniciar();
    EXPECT_EQ(r->entries(), (std::vector<ParticleSystem*>{otra.get()}));
    EXPECT_TRUE(nave->getExplosion()->getParticle(7).active);
    EXPECT_EQ(nave->getEnergia(), 100);
}

TEST_F(Nave1Test, FlyOutVelocityIsAFiftiethOfTheWay)
{
    nave->setDestinoX(0.0f);
    nave->setDestinoY(0.0f);
    nave->setDestinoZ(10.0f);
    EXPECT_EQ(nave->getVelocidadX(), 0.0f);
    EXPECT_FLOAT_EQ(nave->getVelocidadY(), 0.2f);
    EXPECT_FLOAT_EQ(nave->getVelocidadZ(), -0.9f);
}

TEST_F(Nave1Test, TheModelSwitchIsSharedByEveryShip)
{
    std::unique_ptr<Nave1> otra(new Nave1(20.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f));
    Nave1::usarModeloAbierto();
    EXPECT_EQ(Nave1::modelo, DisplayListFactory::getNaveOpen());
    auto v = dibujo();
    ASSERT_EQ(v.size(), 3u);
    EXPECT_TRUE(zk::hayVertice(v, 0.0, -10.0 + 2.0, 55.0)); // the enemy model's legs are 2
    v = zk::allVertices(zk::captureFeedback([&] { otra->render(); }));
    EXPECT_TRUE(zk::hayVertice(v, 22.0, 0.0, 0.0));
    Nave1::usarModeloChico();
    EXPECT_EQ(Nave1::modelo, DisplayListFactory::getNave1Chico());
    EXPECT_TRUE(zk::hayVertice(dibujo(), 0.0, -10.0 + 3.0, 55.0));
    zk::StdoutCapture silencio;
    otra.reset();
}

TEST_F(Nave1Test, DeletingTheShipWritesOneLineAndLeavesNoBurstBehind)
{
    // exploded: the burst plays on in the registry after the ship is gone
    const int antes = ParticleSystem::instances();
    ParticleExplosion* e = nave->getExplosion();
    nave->explotar();
    {
        zk::StdoutCapture salida;
        nave.reset();
        EXPECT_EQ(salida.finish(), "Nave destruida\n");
    }
    ParticleRegistry* r = ParticleRegistry::getInstance();
    EXPECT_EQ(r->entries(), (std::vector<ParticleSystem*>{e}));
    for (int i = 0; i < 400 && !r->entries().empty(); i++)
        r->drawAll();
    EXPECT_TRUE(r->entries().empty()); // and then it is gone, and freed
    EXPECT_EQ(ParticleSystem::instances(), antes - 1);

    // never exploded: its burst goes with it
    zk::StdoutCapture silencio;
    delete new Nave1(0, 0, 0, 0, 0, 0);
    EXPECT_EQ(ParticleSystem::instances(), antes - 1);
}

TEST_F(GlTest, AMissingModelFailsTheShipWithoutLeakingItsBurst)
{
    if (Nave1::modelo != nullptr)
        GTEST_SKIP() << "an earlier test in this process already loaded the model";
    zk::CarpetaDatos datos;
    datos.chispa();
    zk::StdoutCapture salida;
    // the burst is made before the model is asked for
    EXPECT_THROW(new Nave1(0, 0, 0, 0, 0, 0), std::exception);
    EXPECT_EQ(salida.finish().find("Nave destruida"), std::string::npos);
    EXPECT_EQ(ParticleSystem::instances(), 0);
}
