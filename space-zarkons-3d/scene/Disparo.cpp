// The player's shot: a missile flying along its forward direction.
#include "Disparo.h"
#include "idioma.h"

#include "DisplayListFactory.h"

#include <GL/gl.h>

#include <cassert>
#include <iostream>

unsigned int* Disparo::modeloDisparo = nullptr;

Disparo::Disparo(float x, float y, float z, float rx, float ry, float rz)
    : Dibujable(x, y, z, rx, ry, rz, 3.0f, 3.0f, 3.0f)
{
    // the factory loads the file only the first time
    modeloDisparo = DisplayListFactory::getMisilChico();
}

void Disparo::draw()
{
    assert(modeloDisparo != nullptr);
    glCallList(*modeloDisparo);
}

Disparo::~Disparo()
{
    if (getAvisar())
        std::cout << zk_impreso(zk_tr("Disparo destruido")) << std::endl;
}

void Disparo::mover()
{
    // each sum in double, stored back as float
    setX((float)(getX() + getDireccionX()));
    setY((float)(getY() + getDireccionY()));
    setZ((float)(getZ() + getDireccionZ()));
}

bool Disparo::fueraDeCampo()
{
    return getZ() < 0.0f;
}
