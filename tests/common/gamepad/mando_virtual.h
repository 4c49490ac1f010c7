// A virtual pad SDL takes for a real one, in the test's own process: plugged
// in, its buttons pressed and its sticks pushed, and pulled out again.
#pragma once

#include "gamepad.h"

#include <SDL2/SDL.h>

namespace zk
{

class MandoVirtual
{
  public:
    ~MandoVirtual() { desenchufar(); }

    // Plugs the pad in: a standard layout, or with `conocido` false one whose
    // layout SDL cannot know. SDL's joysticks start here if nothing started them.
    bool enchufar(bool conocido = true)
    {
        SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
        if (SDL_InitSubSystem(SDL_INIT_JOYSTICK) != 0)
            return false;
        SDL_VirtualJoystickDesc d;
        SDL_zero(d);
        d.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
        d.type = conocido ? SDL_JOYSTICK_TYPE_GAMECONTROLLER : SDL_JOYSTICK_TYPE_UNKNOWN;
        d.naxes = conocido ? SDL_CONTROLLER_AXIS_MAX : 1;
        d.nbuttons = conocido ? SDL_CONTROLLER_BUTTON_MAX : 1;
        d.vendor_id = conocido ? 0 : 0x1d1d;
        d.product_id = conocido ? 0 : 0x0001;
        d.name = conocido ? "Mando de prueba" : "Mando raro";
        const int i = SDL_JoystickAttachVirtualEx(&d);
        if (i < 0)
            return false;
        joy = SDL_JoystickOpen(i);
        return joy != nullptr;
    }

    void desenchufar()
    {
        if (joy == nullptr)
            return;
        const SDL_JoystickID id = SDL_JoystickInstanceID(joy);
        for (int i = 0; i < SDL_NumJoysticks(); i++)
            if (SDL_JoystickGetDeviceInstanceID(i) == id)
                SDL_JoystickDetachVirtual(i);
        SDL_JoystickClose(joy);
        joy = nullptr;
    }

    // A standard pad's buttons and axes stand at their SDL numbers.
    void boton(SDL_GameControllerButton b, bool abajo) { SDL_JoystickSetVirtualButton(joy, b, abajo ? 1 : 0); }
    void eje(SDL_GameControllerAxis a, int valor) { SDL_JoystickSetVirtualAxis(joy, a, (Sint16)valor); }
    SDL_JoystickGUID guid() const { return SDL_JoystickGetGUID(joy); }

  private:
    SDL_Joystick* joy = nullptr;
};

// Polls every 16 ms from `reloj` up to `hasta`, as the games' timer would,
// and leaves `reloj` at the next poll's time.
inline void sondearHasta(long long& reloj, long long hasta)
{
    for (; reloj <= hasta; reloj += 16)
        zk_pad_poll(reloj);
}

} // namespace zk
