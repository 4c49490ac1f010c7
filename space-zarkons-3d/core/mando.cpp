// The gamepad plays as the keyboard does: each button goes through the key
// handler it stands for, so every rule a key obeys (the box, the tilt, the
// pause, the reload, the keys of the records table) holds for the pad too.
#include "globales.h"

#include "gamepad.h"

#include <GL/freeglut.h>

#include <cassert>

// --- file state ---

// Fire is held while the south button or the trigger is.
static bool fuegoSur = false, fuegoGatillo = false;

// --- helpers ---

static int flecha(zk_pad_button_t b)
{
    switch (b) {
    case ZK_PAD_UP:
        return GLUT_KEY_UP;
    case ZK_PAD_DOWN:
        return GLUT_KEY_DOWN;
    case ZK_PAD_LEFT:
        return GLUT_KEY_LEFT;
    case ZK_PAD_RIGHT:
        return GLUT_KEY_RIGHT;
    default:
        return -1;
    }
}

// The table is up: Return and Escape are the keys that act there.
static bool enLaTabla()
{
    return mostrarRecords || puedeJugarDeNuevo() || finPorVictoria;
}

static void fuego(zk_pad_button_t b, zk_pad_event_t e)
{
    bool& propio = b == ZK_PAD_SOUTH ? fuegoSur : fuegoGatillo;
    const bool otro = b == ZK_PAD_SOUTH ? fuegoGatillo : fuegoSur;
    switch (e) {
    case ZK_PAD_PRESS:
        propio = true;
        keyboard(' ', 0, 0);
        break;
    case ZK_PAD_REPEAT:
        keyboard(' ', 0, 0);
        break;
    case ZK_PAD_RELEASE:
        propio = false;
        if (!otro)
            keyboardUp(' ', 0, 0);
        break;
    }
}

// The pad's events, as the keys they stand for.
static void botonMando(zk_pad_button_t b, zk_pad_event_t e)
{
    assert(b >= 0 && b < ZK_PAD_BUTTONS);
    // a key reaches its handler with the main window current
    activarVentanaPrincipal();
    const int tecla = flecha(b);
    if (tecla >= 0) {
        if (e == ZK_PAD_RELEASE)
            specialUp(tecla, 0, 0);
        else
            special(tecla, 0, 0);
        return;
    }
    if (b == ZK_PAD_RIGHT_TRIGGER || (b == ZK_PAD_SOUTH && !(e == ZK_PAD_PRESS && enLaTabla()))) {
        fuego(b, e);
        return;
    }
    if (e != ZK_PAD_PRESS)
        return;
    switch (b) {
    case ZK_PAD_SOUTH: // at the table
        keyboard('\r', 0, 0);
        break;
    case ZK_PAD_START:
        keyboard(enLaTabla() ? '\r' : 'p', 0, 0);
        break;
    case ZK_PAD_EAST:
        if (enLaTabla())
            keyboard(27, 0, 0);
        break;
    case ZK_PAD_BACK:
        keyboard('s', 0, 0);
        break;
    default:
        break;
    }
}

// --- public functions ---

void iniciarMando()
{
    fuegoSur = fuegoGatillo = false;
    // held directions and fire repeat, as held keys do
    const unsigned repiten = zk_pad_bit(ZK_PAD_UP) | zk_pad_bit(ZK_PAD_DOWN) | zk_pad_bit(ZK_PAD_LEFT) |
                             zk_pad_bit(ZK_PAD_RIGHT) | zk_pad_bit(ZK_PAD_SOUTH) |
                             zk_pad_bit(ZK_PAD_RIGHT_TRIGGER);
    zk_pad_start(botonMando, repiten);
}
