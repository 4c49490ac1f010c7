// A ship's own explosion: made with the ship, set off where the ship stands
// when it is hit, and handed to the particle registry when the ship goes. The
// registry lets a burst still playing finish, and frees it then; one never set
// off is freed at once, also when the ship's constructor fails after it.
#pragma once

class Dibujable;
class ParticleExplosion;

// Its functions are hidden: a helper of the ships, kept out of the game's
// table of exported symbols, which stays as it was.
#define ZK_OCULTA __attribute__((visibility("hidden")))

class ExplosionNave {
public:
    ZK_OCULTA ExplosionNave();
    ZK_OCULTA ~ExplosionNave();
    ExplosionNave(const ExplosionNave&) = delete;
    ExplosionNave& operator=(const ExplosionNave&) = delete;

    // Sets the burst off at the pose of `nave`: listed, it plays from the next frame.
    ZK_OCULTA void iniciar(const Dibujable& nave);
    ZK_OCULTA ParticleExplosion* get() const { return explosion; }

private:
    ParticleExplosion* explosion;
};

#undef ZK_OCULTA
