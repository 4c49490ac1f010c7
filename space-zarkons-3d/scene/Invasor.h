// One ship of the enemy formation.
#pragma once

#include "Dibujable.h"
#include "ExplosionNave.h"

class DisparoE;

class Invasor : public Dibujable {
public:
    // Loads the enemy model on first use; throws std::exception if it cannot.
    Invasor(float x, float y, float z, float rx, float ry, float rz);
    void draw() override;
    // Hands a still playing explosion over to the particle registry.
    ~Invasor() override;
    // One step of the sideways sweep.
    virtual void mover();
    // Sideways and forward steps `factor` times the first wave's.
    void setRapidez(float factor);
    void explotar();
    // A new shot at this ship's pose; the caller owns it.
    DisparoE* disparar();
    bool estaDestruido() const;
    ParticleExplosion* getExplosion() const;

    static unsigned int* modelo;

private:
    int direccion; // 0: sweeping toward -x; 1: toward +x
    int contador;  // sweep steps from the start column, -20 to 20
    float pasoLateral, pasoAvance; // one step sideways, one forward at a turn
    bool destruido;
    ExplosionNave explosion;
};
