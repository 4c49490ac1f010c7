// The player's ship, drawn from its AC3D model.
#pragma once

#include "Dibujable.h"
#include "ExplosionNave.h"

class Disparo;

class Nave1 : public Dibujable {
public:
    // Loads the ship model on first use; throws std::exception if it cannot.
    Nave1(float x, float y, float z, float rx, float ry, float rz);
    void draw() override;
    // Hands a still playing explosion over to the particle registry.
    ~Nave1() override;

    // One step each way, tilting the ship with it.
    void moverIzquierda();
    void moverDerecha();
    void moverAbajo();
    void moverArriba();
    // A new shot from the next gun when reloaded, else null; the caller owns it.
    Disparo* disparar();
    void recargar();
    void explotar();
    void reiniciar();
    // A new game: the ship as it was built at this pose, unloaded, whole.
    void reponer(float x, float y, float z, float rx, float ry, float rz);
    int getEnergia() const;
    void quitarEnergia();
    // Velocity for the fly-out: a fiftieth of the way to t on that axis.
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

private:
    bool destruida;
    bool puedeDisparar;
    int lado; // gun of the last attempt: 1 the +x side, 0 the -x side
    ExplosionNave explosion;
    int energia;
    float velocidadX, velocidadY, velocidadZ;
};
