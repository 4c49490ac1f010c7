// Textured particle effects: a fountain and the explosion burst.
#pragma once

#include "Dibujable.h"

struct Particle {
    bool active;
    float life;  // 1 when emitted, also the drawn alpha
    float fade;  // life lost per frame
    float r, g, b;
    float x, y, z;
    float xi, yi, zi; // velocity
    float xg, yg, zg; // gravity
};

class ParticleSystem : public Dibujable {
public:
    static const int kParticles = 200;

    ParticleSystem(float x, float y, float z, float rx, float ry, float rz);
    void draw() override; // the fountain: dead particles are re-emitted
    ~ParticleSystem() override;
    // A fresh burst from the local origin.
    virtual void rearm();
    bool isActive() const { return active; }

    void beginBillboard();
    void endBillboard();

    const Particle& getParticle(int i) const;
    Particle& particle(int i);
    int getColourIndex() const { return colourIndex; }
    unsigned int getTexture() const { return texture; }

protected:
    void moveParticle(Particle& p);

    float slowdown = 0.3f;
    float xSpeed = 0.0f, ySpeed = 0.0f;
    float zoom = 0.0f;
    bool colourCycling = true;
    int colourIndex = 0;
    unsigned int frameCounter = 0;
    unsigned int colourPeriod = 20;
    unsigned int texture = 0;
    float particleHalfSize = 1.2f;
    bool active = true;
    Particle particles[kParticles];
};

class ParticleExplosion : public ParticleSystem {
public:
    ParticleExplosion(float x, float y, float z, float rx, float ry, float rz);
    void draw() override; // each particle dies for good; faces the camera
    ~ParticleExplosion() override;
};
