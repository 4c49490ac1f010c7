// The player's shot: a missile flying along its forward direction.
#pragma once

#include "Dibujable.h"

class Disparo : public Dibujable {
public:
    // Loads the missile model on the first shot of the run.
    Disparo(float x, float y, float z, float rx, float ry, float rz);
    void draw() override;
    ~Disparo() override;
    // One flight step along the forward direction.
    virtual void mover();
    // Out of the field once past the formation (z < 0).
    bool fueraDeCampo();

    // Display-list name of the missile model, shared by every shot.
    static unsigned int* modeloDisparo;
};
