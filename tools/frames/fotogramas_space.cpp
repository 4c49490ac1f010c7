// Frames of Space Zarkons 3D in fixed states, for comparing the picture of
// one build with another's: the game's own set-up and frame, driven straight
// through its globals instead of by the clock, so every run draws the same.
// Usage: zk-frames-space OUTDIR   (run where data/ is, on an X display)
#include "fotogramas.h"

#include "Camara.h"
#include "Disparo.h"
#include "DisparoE.h"
#include "Invasor.h"
#include "Nave1.h"
#include "globales.h"

#include <cstdlib>
#include <string>

static fotogramas::Captura captura;

static void foto(const char* nombre) { captura.foto(nombre); }

// The game ticks as the timer would run them, without the clock.
static void ticks(int n)
{
    for (int i = 0; i < n; i++)
        actualizarJuego(0);
}

static void disparar()
{
    nave->recargar();
    keyboard(' ', 0, 0);
    keyboardUp(' ', 0, 0);
}

static void destruir(size_t i)
{
    invasores[i]->explotar();
    delete invasores[i];
    invasores.erase(invasores.begin() + (long)i);
}

int main(int argc, char** argv)
{
    if (argc < 2) {
        fprintf(stderr, "usage: %s OUTDIR\n", argv[0]);
        return 2;
    }
    captura = {argv[1], 640, 640, display};
    srand(1);
    ventanaPrincipal = fotogramas::abrirVentana(argc, argv, 640, 640, "Space Zarkons 3D");
    glutDisplayFunc(display);
    init();
    reshape(640, 640);

    // the first frame of the fly-in
    foto("szk-inicio");

    // the fly-in over, the formation on its way, the ship tilted by its moves
    camara->setOjoX(1.25f);
    camara->setOjoY(1.25f);
    camara->setOjoZ(82.15f);
    pausa = 0;
    ticks(40);
    for (int i = 0; i < 4; i++)
        camara->balancear();
    for (int i = 0; i < 3; i++)
        nave->moverIzquierda();
    nave->moverArriba();
    disparar();
    ticks(12);
    disparar();
    for (size_t i : {1u, 5u, 10u})
        disparosEnemigos.push_back(invasores[i]->disparar());
    ticks(20);
    foto("szk-formacion");

    // two bursts, a few frames in and later, when their colour has moved on
    destruir(9);
    destruir(3);
    for (int i = 0; i < 11; i++) {
        ticks(1);
        display();
    }
    ticks(1);
    foto("szk-explosion");
    for (int i = 0; i < 30; i++) {
        ticks(1);
        display();
    }
    foto("szk-explosion-tarde");

    // the same scene from the side, in wireframe with flat shading and the
    // other two lights on
    camara->setOjoX(-60.0f);
    camara->setOjoY(30.0f);
    camara->setOjoZ(70.0f);
    foto("szk-lateral");
    wireframe = true;
    facetado = true;
    foto("szk-alambre");
    wireframe = false;
    glEnable(GL_LIGHT1);
    glEnable(GL_LIGHT2);
    camara->setOrtho(true);
    foto("szk-facetado-orto");
    return captura.ok ? 0 : 1;
}
