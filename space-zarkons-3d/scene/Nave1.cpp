// The player's ship, drawn from its AC3D model.
#include "Nave1.h"
#include "idioma.h"

#include "Disparo.h"
#include "DisplayListFactory.h"
#include "ParticleRegistry.h"
#include "ParticleSystem.h"

#include <GL/gl.h>

#include <cassert>
#include <iostream>

// Sideways distance from the ship's centre to each gun.
static const float kCanon = 4.0f;
// The fly-out reaches its target in this many steps.
static const float kPasosSalida = 50.0f;

unsigned int* Nave1::modelo = nullptr;

Nave1::Nave1(float x, float y, float z, float rx, float ry, float rz)
    : Dibujable(x, y, z, rx, ry, rz, 6.0f, 3.0f, 7.0f)
{
    destruida = false;
    velocidadX = velocidadY = velocidadZ = 0.0f;
    explosion.get()->rearm();
    lado = 0;
    puedeDisparar = false;
    energia = 100;
    modelo = DisplayListFactory::getNave1Chico();
}

void Nave1::draw()
{
    if (destruida)
        return;
    assert(modelo != nullptr);
    glCallList(*modelo);
}

Nave1::~Nave1()
{
    if (getAvisar())
        std::cout << zk_impreso(zk_tr("Nave destruida")) << std::endl;
}

void Nave1::moverIzquierda()
{
    x -= 1.0f;
    rotacionZ -= 3.0f;
}

void Nave1::moverDerecha()
{
    x += 1.0f;
    rotacionZ += 3.0f;
}

void Nave1::moverAbajo()
{
    y -= 1.0f;
    rotacionX -= 2.0f;
}

void Nave1::moverArriba()
{
    y += 1.0f;
    rotacionX += 2.0f;
}

Disparo* Nave1::disparar()
{
    // the gun changes on every attempt, also a refused one
    lado = lado == 0 ? 1 : 0;
    if (!puedeDisparar)
        return nullptr;
    puedeDisparar = false;
    const float xCanon = lado == 1 ? x + kCanon : x - kCanon;
    return new Disparo(xCanon, y, z, rotacionX, rotacionY, rotacionZ);
}

void Nave1::recargar()
{
    puedeDisparar = true;
}

void Nave1::explotar()
{
    destruida = true;
    explosion.iniciar(*this);
}

void Nave1::reiniciar()
{
    destruida = false;
    ParticleRegistry::getInstance()->remove(explosion.get());
    explosion.get()->rearm();
    energia = 100;
}

void Nave1::reponer(float x, float y, float z, float rx, float ry, float rz)
{
    reiniciar();
    this->x = x;
    this->y = y;
    this->z = z;
    rotacionX = rx;
    rotacionY = ry;
    rotacionZ = rz;
    velocidadX = velocidadY = velocidadZ = 0.0f;
    lado = 0;
    puedeDisparar = false;
}

int Nave1::getEnergia() const { return energia; }

void Nave1::quitarEnergia()
{
    energia -= 25;
}

void Nave1::setDestinoX(float t) { velocidadX = (t - x) / kPasosSalida; }
void Nave1::setDestinoY(float t) { velocidadY = (t - y) / kPasosSalida; }
void Nave1::setDestinoZ(float t) { velocidadZ = (t - z) / kPasosSalida; }

float Nave1::getVelocidadX() const { return velocidadX; }
float Nave1::getVelocidadY() const { return velocidadY; }
float Nave1::getVelocidadZ() const { return velocidadZ; }

ParticleExplosion* Nave1::getExplosion() const { return explosion.get(); }

void Nave1::usarModeloAbierto()
{
    modelo = DisplayListFactory::getNaveOpen();
}

void Nave1::usarModeloChico()
{
    modelo = DisplayListFactory::getNave1Chico();
}
