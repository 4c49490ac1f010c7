// Frames of Tie Zarkons in fixed states, for comparing the picture of one
// build with another's: the game's own set-up, ticks and frame, driven
// straight through its globals instead of by the clock.
// Usage: zk-frames-tie OUTDIR   (on an X display)
#include "fotogramas.h"

#include "globales.h"

#include <cstdlib>
#include <string>

static fotogramas::Captura captura;

static void foto(const char* nombre) { captura.foto(nombre); }

// One tick and its frame, as the timer chain runs them.
static void ticks(int n)
{
    for (int i = 0; i < n; i++) {
        timer(1);
        display();
    }
}

int main(int argc, char** argv)
{
    if (argc < 2) {
        fprintf(stderr, "usage: %s OUTDIR\n", argv[0]);
        return 2;
    }
    captura = {argv[1], 640, 480, display};
    srand(1);
    fotogramas::abrirVentana(argc, argv, 640, 480, "Tie Zarkons");
    glutDisplayFunc(display);
    init();
    crearModelos();
    reshape(640, 480);

    foto("tie-apertura");
    state = 1;
    ticks(80);
    foto("tie-titulo");

    // play: the X-Wing moves and fires, the Ties march and fire back
    state = 2;
    for (int i = 0; i < 160; i++) {
        if (i % 40 < 15)
            xWingStat.x += (i / 40) % 2 == 0 ? 1.0f : -1.0f;
        if (tiempoDisparo > 5 && i % 9 == 0) {
            tiempoDisparo = 0;
            dispararXWing();
        }
        ticks(1);
    }
    foto("tie-juego");
    animating = false;
    foto("tie-pausa");
    animating = true;

    // the view turned, zoomed, in perspective and as lines
    ortho = false;
    xrot = 25.0f;
    yrot = -30.0f;
    scale = 0.4f;
    foto("tie-conica");
    relleno = false;
    glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
    foto("tie-alambre");
    relleno = true;
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    ortho = true;
    xrot = yrot = 0.0f;
    scale = 0.2f;

    state = 5;
    foto("tie-ayuda");
    state = 3;
    foto("tie-perdida");
    state = 4;
    foto("tie-ganada");
    return captura.ok ? 0 : 1;
}
