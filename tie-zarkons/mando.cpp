// The gamepad plays as the keyboard does: each button goes through the key
// handler it stands for, so the X-Wing's limits, the pause and the shot's
// reload are the keys' own.
#include "globales.h"

#include "gamepad.h"

#include <GL/freeglut.h>

#include <cassert>

// --- helpers ---

// The screens that wait for a key to go on: the opening, the title, the ends.
static bool pantallaDeEspera()
{
    return state == 0 || state == 1 || state == 3 || state == 4;
}

// The pad's events, as the keys they stand for. Only the arrows and the
// shot repeat while held; a button that goes on acts once per press.
static void botonMando(zk_pad_button_t b, zk_pad_event_t e)
{
    assert(b >= 0 && b < ZK_PAD_BUTTONS);
    if (e == ZK_PAD_RELEASE)
        return;
    const bool fin = state == 3 || state == 4;
    switch (b) {
    case ZK_PAD_LEFT:
        special(GLUT_KEY_LEFT, 0, 0);
        break;
    case ZK_PAD_RIGHT:
        special(GLUT_KEY_RIGHT, 0, 0);
        break;
    case ZK_PAD_SOUTH:
    case ZK_PAD_START:
        if (pantallaDeEspera()) {
            // S plays again at the ends; any key goes on before
            if (e == ZK_PAD_PRESS)
                keyboard('s', 0, 0);
        } else if (b == ZK_PAD_SOUTH) {
            keyboard('m', 0, 0);
        } else if (e == ZK_PAD_PRESS) {
            keyboard('a', 0, 0);
        }
        break;
    case ZK_PAD_EAST:
        if (pantallaDeEspera() && e == ZK_PAD_PRESS)
            keyboard(fin ? 'n' : 27, 0, 0);
        break;
    default:
        break;
    }
}

// --- public functions ---

void iniciarMando()
{
    const unsigned repiten = zk_pad_bit(ZK_PAD_LEFT) | zk_pad_bit(ZK_PAD_RIGHT) | zk_pad_bit(ZK_PAD_SOUTH);
    zk_pad_start(botonMando, repiten);
}
