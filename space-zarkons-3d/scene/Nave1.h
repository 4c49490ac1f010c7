// The player's ship, drawn from its AC3D model.
#pragma once

#include "Dibujable.h"

class Disparo;
class ParticleExplosion;

class Nave1 : public Dibujable {
public:
    Nave1(float x, float y, float z, float rx, float ry, float rz);
    void draw() override;
    ~Nave1() override;

    void moverIzquierda();
    void moverDerecha();
    void moverAbajo();
    void moverArriba();
    // A new shot from the next gun when reloaded, else null; the caller owns it.
    Disparo* disparar();
    void recargar();
    void explotar();
    void reiniciar();
    int getEnergia() const;
    void quitarEnergia();
    void setDestinoX(float t);
    void setDestinoY(float t);
    void setDestinoZ(float t);
    float getVelocidadX() const;
    float getVelocidadY() const;
    float getVelocidadZ() const;
    ParticleExplosion* getExplosion() const;

    static void usarModeloAbierto();
    static void usarModeloChico();
    static unsigned int* modelo;
};
