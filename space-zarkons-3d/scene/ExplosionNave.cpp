// A ship's own explosion, from its making to its hand-over.
#include "ExplosionNave.h"

#include "Dibujable.h"
#include "ParticleRegistry.h"
#include "ParticleSystem.h"

#include <cassert>

ExplosionNave::ExplosionNave()
    : explosion(new ParticleExplosion(0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f))
{
}

ExplosionNave::~ExplosionNave()
{
    // the game deletes a ship right after it explodes, while its burst plays
    ParticleRegistry::getInstance()->handOver(explosion);
}

void ExplosionNave::iniciar(const Dibujable& nave)
{
    assert(explosion != nullptr);
    explosion->setX(nave.getX());
    explosion->setY(nave.getY());
    explosion->setZ(nave.getZ());
    explosion->setRotacionX(nave.getRotacionX());
    explosion->setRotacionY(nave.getRotacionY());
    explosion->setRotacionZ(nave.getRotacionZ());
    ParticleRegistry::getInstance()->add(explosion);
}
