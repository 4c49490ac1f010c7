// The drawable base of every object in the 3D scene.
#include "Dibujable.h"

#include <GL/gl.h>

#include <cmath>

static const double kPi = 3.141592653589793;

// Objects constructed and not yet destroyed.
static int instancias = 0;
// Cleared while an object goes without its line.
static bool avisar = true;

Dibujable::Dibujable(float x, float y, float z, float rx, float ry, float rz)
    : x(x), y(y), z(z), rotacionX(rx), rotacionY(ry), rotacionZ(rz)
{
    instancias++;
}

Dibujable::Dibujable(float x, float y, float z, float rx, float ry, float rz,
                     float radioX, float radioY, float radioZ)
    : x(x), y(y), z(z), rotacionX(rx), rotacionY(ry), rotacionZ(rz),
      radioX(radioX), radioY(radioY), radioZ(radioZ)
{
    instancias++;
}

Dibujable::~Dibujable()
{
    instancias--;
}

int Dibujable::getInstancias() { return instancias; }

void Dibujable::eliminarSinAviso(Dibujable* d)
{
    avisar = false;
    delete d;
    avisar = true;
}

bool Dibujable::getAvisar() { return avisar; }

bool Dibujable::colisiona(Dibujable* otro)
{
    // "not greater" rather than "less or equal", so that a NaN distance misses
    float d = std::fabs(otro->x - x);
    if (!(getRadioX() > d))
        return false;
    d = std::fabs(otro->y - y);
    if (!(getRadioY() > d))
        return false;
    d = std::fabs(otro->z - z);
    if (!(getRadioZ() > d))
        return false;
    return true;
}

float Dibujable::getRadioX() { return radioX; }
float Dibujable::getRadioY() { return radioY; }
float Dibujable::getRadioZ() { return radioZ; }

void Dibujable::render()
{
    pushTransform();
        draw();
    popTransform();
}

void Dibujable::pushTransform()
{
    glPushMatrix();
    glTranslatef(x, y, z);
    glRotatef(rotacionX, 1.0f, 0.0f, 0.0f);
    glRotatef(rotacionY, 0.0f, 1.0f, 0.0f);
    glRotatef(rotacionZ, 0.0f, 0.0f, 1.0f);
}

void Dibujable::popTransform() { glPopMatrix(); }

void Dibujable::trasladar(float dx, float dy, float dz)
{
    x += dx;
    y += dy;
    z += dz;
}

void Dibujable::rotar(float ax, float ay, float az)
{
    rotacionX += ax;
    rotacionY += ay;
    rotacionZ += az;
}

double Dibujable::getDireccionX() const { return 0.0; }

double Dibujable::getDireccionY() const { return std::sin(rotacionX * kPi / 180.0); }

double Dibujable::getDireccionZ() const { return -std::cos(rotacionX * kPi / 180.0); }
