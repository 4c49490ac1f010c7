/* Preloaded into a game by the end-to-end tests: when the game starts SDL's
 * controllers, a virtual pad is plugged in with its south button held down,
 * as a player holding fire would. Built without the sanitizers, so that it
 * can sit ahead of the game in the library list; the game carries its own
 * sanitizer runtime. */
#define _GNU_SOURCE
#include <SDL2/SDL.h>

#include <dlfcn.h>
#include <stdio.h>

static SDL_Joystick* pad = NULL;

static void enchufar(void)
{
    SDL_VirtualJoystickDesc d;
    SDL_zero(d);
    d.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    d.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
    d.naxes = SDL_CONTROLLER_AXIS_MAX;
    d.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
    d.name = "Mando precargado";
    const int i = SDL_JoystickAttachVirtualEx(&d);
    pad = i < 0 ? NULL : SDL_JoystickOpen(i);
    if (pad == NULL) {
        fprintf(stderr, "mando precargado: %s\n", SDL_GetError());
        return;
    }
    SDL_JoystickSetVirtualButton(pad, SDL_CONTROLLER_BUTTON_A, 1);
}

int SDL_InitSubSystem(Uint32 flags)
{
    int (*real)(Uint32) = (int (*)(Uint32))dlsym(RTLD_NEXT, "SDL_InitSubSystem");
    if (real == NULL)
        return -1;
    const int r = real(flags);
    if (r == 0 && (flags & SDL_INIT_GAMECONTROLLER) != 0 && pad == NULL)
        enchufar();
    return r;
}
