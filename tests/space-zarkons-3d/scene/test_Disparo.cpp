// Shots: flight steps, field bounds, the shared missile model, the message.
#include "Disparo.h"
#include "DisparoE.h"

#include "../datos_escena.h"
#include "gl_test.h"

#include <exception>
#include <memory>

using zk::GlTest;

// A window and a data folder with the three models.
class DisparoTest : public GlTest {
protected:
    void SetUp() override
    {
        GlTest::SetUp();
        datos.modelos();
    }
    zk::CarpetaDatos datos;
};

TEST_F(DisparoTest, PlayerShotFromZ55IsOutAfter56StepsNotAfter55)
{
    std::unique_ptr<Disparo> d(new Disparo(3.0f, -10.0f, 55.0f, 0.0f, 180.0f, 0.0f));
    for (int i = 0; i < 55; i++)
        d->mover();
    EXPECT_EQ(d->getZ(), 0.0f);
    EXPECT_FALSE(d->fueraDeCampo());
    d->mover();
    EXPECT_EQ(d->getZ(), -1.0f);
    EXPECT_TRUE(d->fueraDeCampo());
    // level shots keep their x and y
    EXPECT_EQ(d->getX(), 3.0f);
    EXPECT_EQ(d->getY(), -10.0f);
}

TEST_F(DisparoTest, EnemyShotFromZ10IsOutAfter101StepsNotAfter100)
{
    std::unique_ptr<DisparoE> d(new DisparoE(0.0f, 0.0f, 10.0f, 0.0f, 0.0f, 0.0f));
    for (int i = 0; i < 100; i++)
        d->mover();
    EXPECT_EQ(d->getZ(), 110.0f);
    EXPECT_FALSE(d->fueraDeCampo());
    d->mover();
    EXPECT_EQ(d->getZ(), 111.0f);
    EXPECT_TRUE(d->fueraDeCampo());
    // through the base pointer the game holds, the enemy step still applies
    Disparo* base = d.get();
    base->mover();
    EXPECT_EQ(d->getZ(), 112.0f);
}

TEST_F(DisparoTest, TiltedShotsClimbBothWaysAndOnlyEnemyZIsReversed)
{
    std::unique_ptr<Disparo> jugador(new Disparo(0.0f, 0.0f, 50.0f, 30.0f, 0.0f, 0.0f));
    std::unique_ptr<DisparoE> enemigo(new DisparoE(0.0f, 0.0f, 50.0f, 30.0f, 0.0f, 0.0f));
    jugador->mover();
    enemigo->mover();
    EXPECT_EQ(jugador->getX(), 0.0f);
    EXPECT_NEAR(jugador->getY(), 0.5f, 1e-6);
    EXPECT_NEAR(jugador->getZ(), 50.0f - 0.8660254f, 1e-5);
    EXPECT_NEAR(enemigo->getY(), 0.5f, 1e-6);
    EXPECT_NEAR(enemigo->getZ(), 50.0f + 0.8660254f, 1e-5);

    // straight up: the shot never leaves through z
    std::unique_ptr<Disparo> vertical(new Disparo(0.0f, 0.0f, 5.0f, 90.0f, 0.0f, 0.0f));
    for (int i = 0; i < 1000; i++)
        vertical->mover();
    EXPECT_EQ(vertical->getY(), 1000.0f);
    EXPECT_EQ(vertical->getZ(), 5.0f);
    EXPECT_FALSE(vertical->fueraDeCampo());
}

TEST_F(DisparoTest, NaNDepthIsNeverOut)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    std::unique_ptr<Disparo> d(new Disparo(0.0f, 0.0f, nan, 0.0f, 0.0f, 0.0f));
    std::unique_ptr<DisparoE> e(new DisparoE(0.0f, 0.0f, nan, 0.0f, 0.0f, 0.0f));
    EXPECT_FALSE(d->fueraDeCampo());
    EXPECT_FALSE(e->fueraDeCampo());
}

TEST_F(DisparoTest, EveryShotDrawsTheOneMissileListLoadedOnce)
{
    std::unique_ptr<Disparo> primero(new Disparo(10.0f, 5.0f, -20.0f, 0.0f, 0.0f, 0.0f));
    unsigned int* lista = Disparo::modeloDisparo;
    ASSERT_NE(lista, nullptr);
    ASSERT_NE(*lista, 0u);

    // with the file gone, only a cached model can make more shots
    datos.borrar("Misil_chico.ac");
    std::vector<std::unique_ptr<Disparo>> muchos;
    for (int i = 0; i < 40; i++) {
        if (i % 2)
            muchos.emplace_back(new DisparoE((float)i, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f));
        else
            muchos.emplace_back(new Disparo((float)i, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f));
    }
    EXPECT_EQ(Disparo::modeloDisparo, lista);

    // drawn at the shot's pose: the unit triangle moved to (10, 5, -20)
    zk::useOrthoBox(100.0f);
    const int profundidad = zk::stackDepth(GL_MODELVIEW_STACK_DEPTH);
    auto v = zk::allVertices(zk::captureFeedback([&] { primero->render(); }));
    ASSERT_EQ(v.size(), 3u);
    EXPECT_TRUE(zk::hayVertice(v, 10.0, 5.0, -20.0));
    EXPECT_TRUE(zk::hayVertice(v, 11.0, 5.0, -20.0));
    EXPECT_TRUE(zk::hayVertice(v, 10.0, 6.0, -20.0));
    EXPECT_EQ(zk::stackDepth(GL_MODELVIEW_STACK_DEPTH), profundidad);

    // turned by the creator's angles: 90 degrees about Z swings the x leg onto y
    std::unique_ptr<Disparo> girado(new Disparo(0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 90.0f));
    v = zk::allVertices(zk::captureFeedback([&] { girado->render(); }));
    ASSERT_EQ(v.size(), 3u);
    EXPECT_TRUE(zk::hayVertice(v, 0.0, 1.0, 0.0));
    EXPECT_TRUE(zk::hayVertice(v, -1.0, 0.0, 0.0));
}

TEST_F(DisparoTest, DeletingAnEnemyShotWritesOneLine)
{
    Disparo* d = new DisparoE(0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f);
    zk::StdoutCapture salida;
    delete d;
    EXPECT_EQ(salida.finish(), "Disparo destruido\n");
}

TEST_F(DisparoTest, MissingModelFailsTheFirstShotAndWritesNoFarewell)
{
    if (Disparo::modeloDisparo != nullptr)
        GTEST_SKIP() << "an earlier test in this process already loaded the model";
    datos.borrar("Misil_chico.ac");
    zk::StdoutCapture salida;
    EXPECT_THROW(new Disparo(0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f), std::exception);
    EXPECT_EQ(salida.finish().find("Disparo destruido"), std::string::npos);
}
