// The turning star-field box around the scene.
#pragma once

#include "Dibujable.h"

class Skybox : public Dibujable {
public:
    // Loads data/Stars.tga; an unreadable image ends the program.
    Skybox(float halfSize, float x, float y, float z, float rx, float ry, float rz);
    void draw() override;
    ~Skybox() override;
    unsigned int getTexture() const { return texture; }

private:
    unsigned int texture = 0;
    float halfSize;
};
