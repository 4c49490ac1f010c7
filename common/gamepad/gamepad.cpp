// The pad through SDL2's game-controller layer: only that subsystem (and the
// joystick and event queue it stands on) is started, with SDL's own events
// ignored and its signal handlers left out, so GLUT keeps the window, the
// keys and Ctrl+C. A GLUT timer polls: every frame while a pad is open, and
// now and then without one, to see one plugged in.
#include "gamepad.h"

#include "repeticion.h"

#include <GL/freeglut.h>
#include <SDL2/SDL.h>

#include <cassert>

// --- constants ---

static const unsigned kMsConMando = 16;  // a pad open: one poll a frame
static const unsigned kMsSinMando = 500; // none: a plugged-in pad is seen within half a second

// --- file state ---

static bool iniciado = false;                // SDL's controller subsystem is up
static bool timerArmado = false;             // one polling chain, however often start is called
static zk_pad_handler_t manejador = nullptr;
static unsigned repiten = 0;                 // mask of the buttons that repeat
static SDL_GameController* mando = nullptr;  // the pad in use, null without one
static zk_pad_repeat_t repeticion;

// --- helpers ---

// The first pad SDL knows the layout of; a pad it does not know is left alone.
static void abrirPrimero()
{
    const int n = SDL_NumJoysticks();
    for (int i = 0; i < n && mando == nullptr; i++) {
        if (SDL_IsGameController(i))
            mando = SDL_GameControllerOpen(i);
    }
}

static bool pasado(SDL_GameControllerAxis eje, int signo)
{
    const int v = SDL_GameControllerGetAxis(mando, eje);
    return signo < 0 ? v < -ZK_PAD_DEAD_ZONE : v > ZK_PAD_DEAD_ZONE;
}

static bool boton(SDL_GameControllerButton b)
{
    return SDL_GameControllerGetButton(mando, b) != 0;
}

static void leerMando(bool held[ZK_PAD_BUTTONS])
{
    assert(mando != nullptr);
    // SDL's stick y grows downward
    held[ZK_PAD_UP] = boton(SDL_CONTROLLER_BUTTON_DPAD_UP) || pasado(SDL_CONTROLLER_AXIS_LEFTY, -1);
    held[ZK_PAD_DOWN] = boton(SDL_CONTROLLER_BUTTON_DPAD_DOWN) || pasado(SDL_CONTROLLER_AXIS_LEFTY, 1);
    held[ZK_PAD_LEFT] = boton(SDL_CONTROLLER_BUTTON_DPAD_LEFT) || pasado(SDL_CONTROLLER_AXIS_LEFTX, -1);
    held[ZK_PAD_RIGHT] = boton(SDL_CONTROLLER_BUTTON_DPAD_RIGHT) || pasado(SDL_CONTROLLER_AXIS_LEFTX, 1);
    held[ZK_PAD_SOUTH] = boton(SDL_CONTROLLER_BUTTON_A);
    held[ZK_PAD_EAST] = boton(SDL_CONTROLLER_BUTTON_B);
    held[ZK_PAD_START] = boton(SDL_CONTROLLER_BUTTON_START);
    held[ZK_PAD_BACK] = boton(SDL_CONTROLLER_BUTTON_BACK);
    held[ZK_PAD_RIGHT_TRIGGER] = pasado(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, 1);
}

static void timerMando(int)
{
    zk_pad_poll(glutGet(GLUT_ELAPSED_TIME));
    if (iniciado)
        glutTimerFunc(zk_pad_connected() ? kMsConMando : kMsSinMando, timerMando, 0);
    else
        timerArmado = false;
}

// --- public functions ---

bool zk_pad_start(zk_pad_handler_t handler, unsigned repeating)
{
    assert(handler != nullptr);
    manejador = handler;
    repiten = repeating;
    if (!iniciado) {
        // SDL would otherwise turn SIGINT and SIGTERM into events nobody reads
        SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
        if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0)
            return false;
        iniciado = true;
        // the state is read at each poll: a queue of events would only grow
        SDL_GameControllerEventState(SDL_IGNORE);
        SDL_JoystickEventState(SDL_IGNORE);
        repeticion = zk_pad_repeat_t();
    }
    if (!timerArmado) {
        timerArmado = true;
        glutTimerFunc(kMsConMando, timerMando, 0);
    }
    return true;
}

void zk_pad_poll(long long now_ms)
{
    if (!iniciado)
        return;
    SDL_GameControllerUpdate();
    // the kinds not turned off (a touchpad's, a battery's) go unread too
    SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
    if (mando != nullptr && !SDL_GameControllerGetAttached(mando)) {
        SDL_GameControllerClose(mando);
        mando = nullptr;
    }
    if (mando == nullptr)
        abrirPrimero();
    // a pad pulled out lets go of everything it held
    bool held[ZK_PAD_BUTTONS] = {};
    if (mando != nullptr)
        leerMando(held);
    zk_pad_feed(&repeticion, held, now_ms, repiten, manejador);
}

bool zk_pad_connected()
{
    return mando != nullptr;
}

void zk_pad_stop()
{
    if (!iniciado)
        return;
    // the pads go for good: nobody is told
    if (mando != nullptr)
        SDL_GameControllerClose(mando);
    mando = nullptr;
    iniciado = false;
    // what else of SDL's someone started stays up
    SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
}
