// A ship's own explosion: set off at the whole pose of its ship, and on its
// owner's end left to the registry while it plays, freed at once otherwise.
#include "ExplosionNave.h"

#include "Dibujable.h"
#include "ParticleRegistry.h"
#include "ParticleSystem.h"

#include "../datos_escena.h"
#include "gl_test.h"

#include <memory>
#include <vector>

using zk::GlTest;

namespace {

// A ship reduced to its pose.
class Pose : public Dibujable {
public:
    Pose() : Dibujable(3.0f, -4.0f, 5.0f, 10.0f, 20.0f, 30.0f) {}
    void draw() override {}
};

} // namespace

TEST_F(GlTest, ASetOffBurstTakesTheWholePoseAndOutlivesItsOwner)
{
    zk::CarpetaDatos datos;
    datos.chispa();
    ParticleRegistry* r = ParticleRegistry::getInstance();
    const int antes = ParticleSystem::instances();
    Pose nave;
    std::unique_ptr<ExplosionNave> tocada(new ExplosionNave);
    std::unique_ptr<ExplosionNave> intacta(new ExplosionNave);
    ParticleExplosion* e = tocada->get();
    EXPECT_EQ(ParticleSystem::instances(), antes + 2);
    EXPECT_TRUE(r->entries().empty()) << "listed before it was set off";

    tocada->iniciar(nave);
    EXPECT_EQ(r->entries(), (std::vector<ParticleSystem*>{e}));
    const float pose[6] = {e->getX(), e->getY(), e->getZ(),
                           e->getRotacionX(), e->getRotacionY(), e->getRotacionZ()};
    const float esperada[6] = {3.0f, -4.0f, 5.0f, 10.0f, 20.0f, 30.0f};
    for (int i = 0; i < 6; i++)
        EXPECT_EQ(pose[i], esperada[i]) << i;

    // the one never set off goes with its owner; the playing one stays listed
    intacta.reset();
    EXPECT_EQ(ParticleSystem::instances(), antes + 1);
    tocada.reset();
    EXPECT_EQ(r->entries(), (std::vector<ParticleSystem*>{e}));
    EXPECT_EQ(r->orphans(), (std::vector<ParticleSystem*>{e}));
    r->clear();
    EXPECT_EQ(ParticleSystem::instances(), antes);
}
