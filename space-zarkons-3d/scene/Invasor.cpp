// One ship of the enemy formation.
#include "Invasor.h"
#include "idioma.h"

#include "DisparoE.h"
#include "DisplayListFactory.h"

#include <GL/gl.h>

#include <cassert>
#include <iostream>

// Steps to each side of the start column before the sweep turns.
static const int kPasosBarrido = 20;
static const float kPasoLateral = 0.25f;
static const float kPasoAvance = 0.5f;

unsigned int* Invasor::modelo = nullptr;

Invasor::Invasor(float x, float y, float z, float rx, float ry, float rz)
    : Dibujable(x, y, z, rx, ry, rz, 4.0f, 2.0f, 4.0f),
      direccion(0), contador(0), pasoLateral(kPasoLateral), pasoAvance(kPasoAvance), destruido(false)
{
    modelo = DisplayListFactory::getNaveOpen();
}

void Invasor::draw()
{
    if (destruido)
        return;
    assert(modelo != nullptr);
    glCallList(*modelo);
}

Invasor::~Invasor()
{
    if (getAvisar())
        std::cout << zk_impreso(zk_tr("Invasor destruido")) << std::endl;
}

void Invasor::mover()
{
    // at either end of the sweep: one step forward and turn back
    if (contador == kPasosBarrido || contador == -kPasosBarrido) {
        z += pasoAvance;
        direccion = direccion == 0 ? 1 : 0;
    }
    if (direccion == 1) {
        x += pasoLateral;
        contador++;
    } else {
        x -= pasoLateral;
        contador--;
    }
}

void Invasor::setRapidez(float factor)
{
    assert(factor > 0.0f);
    pasoLateral = kPasoLateral * factor;
    pasoAvance = kPasoAvance * factor;
}

void Invasor::explotar()
{
    destruido = true;
    explosion.iniciar(*this);
}

DisparoE* Invasor::disparar()
{
    return new DisparoE(x, y, z, rotacionX, rotacionY, rotacionZ);
}

bool Invasor::estaDestruido() const { return destruido; }

ParticleExplosion* Invasor::getExplosion() const { return explosion.get(); }
