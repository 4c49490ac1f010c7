// One ship of the enemy formation.
#pragma once

#include "Dibujable.h"

class DisparoE;
class ParticleExplosion;

class Invasor : public Dibujable {
public:
    Invasor(float x, float y, float z, float rx, float ry, float rz);
    void draw() override;
    ~Invasor() override;
    // One step of the sideways sweep.
    virtual void mover();
    void explotar();
    // A new shot at this ship's pose; the caller owns it.
    DisparoE* disparar();
    bool estaDestruido() const;
    ParticleExplosion* getExplosion() const;

    static unsigned int* modelo;
};
