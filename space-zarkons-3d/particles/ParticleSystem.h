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

    // Loads data/spark.tga into a texture of its own (a missing image ends
    // the program), then arms a fresh burst.
    ParticleSystem(float x, float y, float z, float rx, float ry, float rz);
    // A copy would share the texture and escape the count below.
    ParticleSystem(const ParticleSystem&) = delete;
    ParticleSystem& operator=(const ParticleSystem&) = delete;
    void draw() override; // the fountain: dead particles are re-emitted
    ~ParticleSystem() override;
    // Systems alive in the process: shows that finished bursts are freed.
    static int instances();
    // A fresh burst from the local origin.
    virtual void rearm();
    bool isActive() const { return active; }

    // Turns the particle squares to face the camera's eye.
    void beginBillboard();
    void endBillboard();

    const Particle& getParticle(int i) const;
    Particle& particle(int i);
    int getColourIndex() const { return colourIndex; }
    unsigned int getTexture() const { return texture; }

protected:
    // One frame of motion: position, then velocity, then life.
    void moveParticle(Particle& p);
    // Sends one particle as a textured square of half-size s at its place: two
    // triangles, inside the caller's glBegin(GL_TRIANGLES).
    void drawParticle(const Particle& p, float s);
    // Steps to the next entry of the colour table and restarts the count.
    void nextColour();

    float slowdown = 0.3f;
    // Only the fountain reads these; 0 makes it spray straight from the origin.
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
