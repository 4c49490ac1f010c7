// A ship's own explosion: made with the ship, set off where the ship stands
// when it is hit, and handed to the particle registry when the ship goes. The
// registry lets a burst still playing finish, and frees it then; one never set
// off is freed at once, also when the ship's constructor fails after it.
#pragma once

class Dibujable;
class ParticleExplosion;

// Hidden: a helper of the ships, kept out of the game's table of exported
// symbols, which stays as it was.
class __attribute__((visibility("hidden"))) ExplosionNave {
public:
    ExplosionNave();
    ~ExplosionNave();
    ExplosionNave(const ExplosionNave&) = delete;
    ExplosionNave& operator=(const ExplosionNave&) = delete;

    // Sets the burst off at the pose of `nave`: listed, it plays from the next frame.
    void iniciar(const Dibujable& nave);
    ParticleExplosion* get() const { return explosion; }

private:
    ParticleExplosion* explosion;
};
