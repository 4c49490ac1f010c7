// The game's sounds: what each effect is made of, and where in the scene it
// is heard from. The listener rides on the camera.
#include "globales.h"

#include "Camara.h"
#include "Dibujable.h"
#include "efectos_tabla.h" // kEfectos, made from sonidos.tabla
#include "settings.h"
#include "sound.h"

#include <cassert>

// --- constants ---

// What each effect is made of: sonidos.tabla, in the order of the Sonido enum.
static_assert(sizeof kEfectos / sizeof kEfectos[0] == SONIDOS, "one effect for each sound");

// --- public functions ---

const zk_effect_t* efectosSonido()
{
    return kEfectos;
}

void iniciarSonido(bool mudo)
{
    zk_sound_open(kEfectos, SONIDOS, mudo);
}

void sonarEn(Sonido sonido, const Dibujable* donde)
{
    assert(donde != nullptr);
    zk_sound_play_at(sonido, donde->getX(), donde->getY(), donde->getZ());
}

void sonar(Sonido sonido)
{
    zk_sound_play_pan(sonido, 0.0f);
}

void oyenteEnCamara()
{
    assert(camara != nullptr);
    const float ojo[3] = {camara->getOjoX(), camara->getOjoY(), camara->getOjoZ()};
    const float centro[3] = {camara->getCentroX(), camara->getCentroY(), camara->getCentroZ()};
    const float arriba[3] = {camara->getArribaX(), camara->getArribaY(), camara->getArribaZ()};
    zk_sound_listener(ojo, centro, arriba);
}

void alternarSonido()
{
    zk_sound_set_muted(!zk_sound_muted());
    zk_settings_set_sound(!zk_sound_muted());
}
