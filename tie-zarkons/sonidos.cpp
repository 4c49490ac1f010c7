// The game's sounds: what each effect is made of; each is panned by where it
// happens across the field.
#include "globales.h"

#include "efectos_tabla.h" // kEfectos, made from sonidos.tabla
#include "settings.h"
#include "sound.h"

// --- constants ---

// The field spans x -100...100; its edges are heard well to the side, not
// hard in one ear.
static const float kAnchoCampo = 100.0f;
static const float kPaneoMaximo = 0.7f;

// What each effect is made of: sonidos.tabla, in the order of the SonidoTie enum.
static_assert(sizeof kEfectos / sizeof kEfectos[0] == SONIDOS_TIE, "one effect for each sound");

// --- public functions ---

const zk_effect_t* efectosSonidoTie()
{
    return kEfectos;
}

void iniciarSonidoTie(bool mudo)
{
    zk_sound_open(kEfectos, SONIDOS_TIE, mudo);
}

void sonar(SonidoTie sonido, float x)
{
    zk_sound_play_pan(sonido, x / kAnchoCampo * kPaneoMaximo);
}

void alternarSonidoTie()
{
    zk_sound_set_muted(!zk_sound_muted());
    zk_settings_set_sound(!zk_sound_muted());
}
