// The turning star-field box around the scene.
#pragma once

#include "Dibujable.h"

class Skybox : public Dibujable {
public:
    // Loads data/Stars.tga; an unreadable image ends the program (status 1).
    Skybox(float halfSize, float x, float y, float z, float rx, float ry, float rz);
    // The six faces; every drawing turns the box one more degree about X and Y.
    void draw() override;
    ~Skybox() override;
    unsigned int getTexture() const { return texture; }
    float getHalfSize() const { return halfSize; }

private:
    unsigned int texture = 0;
    float halfSize;
};
