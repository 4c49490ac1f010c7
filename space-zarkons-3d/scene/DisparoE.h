// An enemy shot: flies toward the player (+z).
#pragma once

#include "Disparo.h"

class DisparoE : public Disparo {
public:
    DisparoE(float x, float y, float z, float rx, float ry, float rz);
    ~DisparoE() override;
    void mover() override;
    // Out of the field once past the player (z > 110).
    bool fueraDeCampo();
};
