// The game's sounds: what each effect is made of, and where in the scene it
// is heard from. The listener rides on the camera.
#include "globales.h"

#include "Camara.h"
#include "Dibujable.h"
#include "settings.h"
#include "sound.h"

#include <cassert>

// --- constants ---

// Order as in the Sonido enum. Each layer: wave, start s, length s, pitch
// from, pitch to (Hz), attack s, decay s, level, vibrato Hz, vibrato depth.
static const zk_effect_t kEfectos[SONIDOS] = {
    // the player's laser: a bright falling zap with a click in front
    {"disparo", 0.18f, 0.70f, 3, {
        {ZK_WAVE_SQUARE, 0.0f, 0.16f, 1800.0f, 260.0f, 0.002f, 0.060f, 0.60f, 0.0f, 0.0f},
        {ZK_WAVE_SINE, 0.0f, 0.12f, 3600.0f, 520.0f, 0.002f, 0.040f, 0.25f, 0.0f, 0.0f},
        {ZK_WAVE_NOISE, 0.0f, 0.03f, 6000.0f, 2000.0f, 0.001f, 0.010f, 0.30f, 0.0f, 0.0f}}},
    // an enemy shot: a lower, buzzing drop, quieter than the player's
    {"disparo enemigo", 0.32f, 0.55f, 2, {
        {ZK_WAVE_SAW, 0.0f, 0.30f, 520.0f, 140.0f, 0.005f, 0.120f, 0.60f, 28.0f, 0.08f},
        {ZK_WAVE_SQUARE, 0.0f, 0.30f, 260.0f, 70.0f, 0.005f, 0.120f, 0.30f, 0.0f, 0.0f}}},
    // an enemy ship bursting: a crack, a hiss that darkens and a thump
    {"explosion invasor", 0.78f, 0.85f, 3, {
        {ZK_WAVE_NOISE, 0.0f, 0.75f, 5000.0f, 250.0f, 0.003f, 0.220f, 1.00f, 0.0f, 0.0f},
        {ZK_WAVE_SINE, 0.0f, 0.50f, 140.0f, 45.0f, 0.003f, 0.150f, 0.70f, 0.0f, 0.0f},
        {ZK_WAVE_NOISE, 0.0f, 0.08f, 9000.0f, 3000.0f, 0.001f, 0.020f, 0.40f, 0.0f, 0.0f}}},
    // a hit on the ship: two out-of-tune tones ring like struck metal
    {"impacto", 0.38f, 0.80f, 4, {
        {ZK_WAVE_SQUARE, 0.0f, 0.35f, 330.0f, 300.0f, 0.001f, 0.080f, 0.45f, 0.0f, 0.0f},
        {ZK_WAVE_SQUARE, 0.0f, 0.35f, 467.0f, 430.0f, 0.001f, 0.070f, 0.35f, 0.0f, 0.0f},
        {ZK_WAVE_NOISE, 0.0f, 0.15f, 3000.0f, 800.0f, 0.001f, 0.040f, 0.60f, 0.0f, 0.0f},
        {ZK_WAVE_SINE, 0.0f, 0.20f, 90.0f, 60.0f, 0.002f, 0.060f, 0.50f, 0.0f, 0.0f}}},
    // the ship blowing up: long, deep, with a growl under the roar
    {"explosion nave", 0.97f, 0.90f, 4, {
        {ZK_WAVE_NOISE, 0.0f, 0.95f, 3500.0f, 120.0f, 0.005f, 0.350f, 1.00f, 0.0f, 0.0f},
        {ZK_WAVE_SINE, 0.0f, 0.90f, 90.0f, 30.0f, 0.010f, 0.300f, 0.80f, 0.0f, 0.0f},
        {ZK_WAVE_NOISE, 0.0f, 0.20f, 8000.0f, 1500.0f, 0.001f, 0.050f, 0.50f, 0.0f, 0.0f},
        {ZK_WAVE_SAW, 0.0f, 0.60f, 110.0f, 40.0f, 0.010f, 0.200f, 0.25f, 0.0f, 0.0f}}},
    // the fly-out after the last enemy: a rising fanfare, C E G C
    {"salida", 0.88f, 0.75f, 4, {
        {ZK_WAVE_SQUARE, 0.00f, 0.20f, 523.3f, 523.3f, 0.005f, 0.250f, 0.45f, 0.0f, 0.0f},
        {ZK_WAVE_SQUARE, 0.12f, 0.20f, 659.3f, 659.3f, 0.005f, 0.250f, 0.45f, 0.0f, 0.0f},
        {ZK_WAVE_SQUARE, 0.24f, 0.20f, 784.0f, 784.0f, 0.005f, 0.250f, 0.45f, 0.0f, 0.0f},
        {ZK_WAVE_SQUARE, 0.36f, 0.50f, 1046.5f, 1046.5f, 0.005f, 0.300f, 0.50f, 6.0f, 0.012f}}},
    // the game lost: four falling notes, the last one wavering
    {"derrota", 0.97f, 0.75f, 4, {
        {ZK_WAVE_SAW, 0.00f, 0.20f, 392.0f, 380.0f, 0.010f, 0.400f, 0.50f, 0.0f, 0.0f},
        {ZK_WAVE_SAW, 0.20f, 0.20f, 370.0f, 359.0f, 0.010f, 0.400f, 0.50f, 0.0f, 0.0f},
        {ZK_WAVE_SAW, 0.40f, 0.20f, 349.2f, 339.0f, 0.010f, 0.400f, 0.50f, 0.0f, 0.0f},
        {ZK_WAVE_SAW, 0.60f, 0.36f, 329.6f, 311.1f, 0.010f, 0.500f, 0.55f, 6.0f, 0.030f}}},
};

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
