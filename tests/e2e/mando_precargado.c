/* Preloaded into a game by the end-to-end tests and the pad's benchmark:
 * when the game starts SDL's controllers, a virtual pad is plugged in. What
 * it does is $ZK_MANDO's:
 *   sur (or unset)  the south button held down, as a player holding fire
 *   quieto          nothing pressed, the pad lying idle on the table
 *   sin-sdl         no pad, and SDL's controllers refuse to start
 * Built without the sanitizers, so that it can sit ahead of the game in the
 * library list; the game carries its own sanitizer runtime. */
#define _GNU_SOURCE
#include <SDL2/SDL.h>

#include <dlfcn.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

static SDL_Joystick* pad = NULL;

static int es(const char* modo)
{
    const char* m = getenv("ZK_MANDO");
    return strcmp(m != NULL && *m != '\0' ? m : "sur", modo) == 0;
}

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
    if (es("sur"))
        SDL_JoystickSetVirtualButton(pad, SDL_CONTROLLER_BUTTON_A, 1);
}

int SDL_InitSubSystem(Uint32 flags)
{
    int (*real)(Uint32) = (int (*)(Uint32))dlsym(RTLD_NEXT, "SDL_InitSubSystem");
    if (real == NULL || ((flags & SDL_INIT_GAMECONTROLLER) != 0 && es("sin-sdl")))
        return SDL_SetError("no controllers here");
    const int r = real(flags);
    if (r == 0 && (flags & SDL_INIT_GAMECONTROLLER) != 0 && pad == NULL)
        enchufar();
    return r;
}
