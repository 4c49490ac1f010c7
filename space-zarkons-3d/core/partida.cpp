// One game after another: the game's number and the chains of timers it owns,
// playing again after a lost game, the player's pause and the pause a hidden
// window brings.
#include "globales.h"

#include "sound.h"

#include <GL/freeglut.h>

#include <cassert>

// --- file state ---

// Timers of each chain armed and not yet run, of any game.
static int armadas[CADENAS] = {};
// The pause came with a hidden window: only the player ends it (P or the
// menu), not the end of the fly-in or of a camera move.
static bool retenida = false;

// --- helpers ---

// The game tick and the slow tick run for the whole program.
static bool dePartida(Cadena c)
{
    return c != CADENA_JUEGO && c != CADENA_LENTO;
}

// --- public functions ---

void armarTimer(Cadena c, unsigned ms, void (*timer)(int))
{
    assert(c >= 0 && c < CADENAS && timer != nullptr);
    armadas[c]++;
    glutTimerFunc(ms, timer, dePartida(c) ? partida : 0);
}

bool timerVigente(Cadena c, int valor)
{
    assert(c >= 0 && c < CADENAS);
    // a timer called by hand was never counted
    if (armadas[c] > 0)
        armadas[c]--;
    return !dePartida(c) || valor == partida;
}

int cadenasArmadas(Cadena c)
{
    assert(c >= 0 && c < CADENAS);
    return armadas[c];
}

bool puedeJugarDeNuevo()
{
    // with the formation gone the ship is flying out: a win ends the program
    return gameOver && !finPorVictoria && !invasores.empty();
}

void jugarDeNuevo()
{
    assert(puedeJugarDeNuevo());
    oleada = 1;
    empezarDeNuevo();
}

void empezarDeNuevo()
{
    // every timer still armed belongs to the old game from here on, and will
    // do nothing when it runs: the new game arms its own
    partida++;
    reponerEscena();
    reglasIniciales();
    retenida = false;
    limpiarTeclas();
    detenerCamara();
    olvidarPartida();
    prepararVuelo();
    armarTimer(CADENA_INTRO, 50, timerIntro);
    redibujarVentana(ventanaPrincipal);
    redibujarVentana(ventanaScore);
}

void alternarPausa()
{
    pausa = pausa == 0 ? 1 : 0;
    pausaVisible = pausa == 1;
    retenida = false;
}

bool juegoRetenido()
{
    // the pause that shows is the player's (or the hidden window's): the
    // fly-in and a camera move pause without a word and hold nothing more
    return ventanaOculta || (pausa == 1 && pausaVisible);
}

void reanudar()
{
    pausa = retenida ? 1 : 0;
    pausaVisible = retenida;
}

void estadoVentana(int estado)
{
    const bool oculta = estado == GLUT_HIDDEN;
    if (oculta == ventanaOculta)
        return;
    ventanaOculta = oculta;
    zk_sound_hold(oculta);
    // A game in play waits for the player to come back and resume it; the
    // fly-in and the fly-out go on, and a lost game has nothing to wait for.
    if (oculta && !gameOver && !invasores.empty()) {
        pausa = 1;
        pausaVisible = true;
        retenida = true;
    }
    redibujarVentana(ventanaPrincipal);
}
