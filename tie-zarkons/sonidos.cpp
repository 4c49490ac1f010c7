// The game's sounds: what each effect is made of; each is panned by where it
// happens across the field.
#include "globales.h"

#include "settings.h"
#include "sound.h"

// --- constants ---

// The field spans x -100...100; its edges are heard well to the side, not
// hard in one ear.
static const float kAnchoCampo = 100.0f;
static const float kPaneoMaximo = 0.7f;

// Order as in the SonidoTie enum. Each layer: wave, start s, length s, pitch
// from, pitch to (Hz), attack s, decay s, level, vibrato Hz, vibrato depth.
static const zk_effect_t kEfectos[SONIDOS_TIE] = {
    // the X-Wing's shot: a short, high laser chirp
    {"disparo xwing", 0.13f, 0.65f, 2, {
        {ZK_WAVE_SQUARE, 0.0f, 0.12f, 2400.0f, 700.0f, 0.002f, 0.040f, 0.55f, 0.0f, 0.0f},
        {ZK_WAVE_TRIANGLE, 0.0f, 0.12f, 1200.0f, 350.0f, 0.002f, 0.050f, 0.45f, 0.0f, 0.0f}}},
    // a Tie's shot: a quiet rising screech, so many of them do not tire
    {"disparo tie", 0.24f, 0.45f, 2, {
        {ZK_WAVE_SAW, 0.0f, 0.22f, 700.0f, 1100.0f, 0.004f, 0.100f, 0.60f, 40.0f, 0.15f},
        {ZK_WAVE_NOISE, 0.0f, 0.05f, 2500.0f, 2500.0f, 0.001f, 0.015f, 0.20f, 0.0f, 0.0f}}},
    // a Tie destroyed: a quick burst with a dropping whistle in it
    {"tie destruido", 0.52f, 0.80f, 3, {
        {ZK_WAVE_NOISE, 0.0f, 0.50f, 6000.0f, 400.0f, 0.002f, 0.140f, 1.00f, 0.0f, 0.0f},
        {ZK_WAVE_SINE, 0.0f, 0.30f, 200.0f, 60.0f, 0.002f, 0.080f, 0.60f, 0.0f, 0.0f},
        {ZK_WAVE_SQUARE, 0.0f, 0.15f, 800.0f, 100.0f, 0.002f, 0.050f, 0.30f, 0.0f, 0.0f}}},
    // the X-Wing hit: a crunch over two low, clashing tones
    {"impacto xwing", 0.27f, 0.75f, 3, {
        {ZK_WAVE_NOISE, 0.0f, 0.20f, 2000.0f, 600.0f, 0.001f, 0.050f, 0.70f, 0.0f, 0.0f},
        {ZK_WAVE_SQUARE, 0.0f, 0.25f, 180.0f, 120.0f, 0.001f, 0.070f, 0.40f, 0.0f, 0.0f},
        {ZK_WAVE_SQUARE, 0.0f, 0.25f, 254.0f, 170.0f, 0.001f, 0.070f, 0.35f, 0.0f, 0.0f}}},
    // the won screen: G C E G climbing, the top note held
    {"victoria", 0.95f, 0.75f, 4, {
        {ZK_WAVE_TRIANGLE, 0.00f, 0.16f, 392.0f, 392.0f, 0.004f, 0.200f, 0.60f, 0.0f, 0.0f},
        {ZK_WAVE_TRIANGLE, 0.11f, 0.16f, 523.3f, 523.3f, 0.004f, 0.200f, 0.60f, 0.0f, 0.0f},
        {ZK_WAVE_TRIANGLE, 0.22f, 0.16f, 659.3f, 659.3f, 0.004f, 0.200f, 0.60f, 0.0f, 0.0f},
        {ZK_WAVE_SQUARE, 0.33f, 0.60f, 784.0f, 784.0f, 0.004f, 0.350f, 0.40f, 5.0f, 0.010f}}},
    // the lost screen: C A F D falling, the last one sagging
    {"derrota tie", 0.96f, 0.75f, 4, {
        {ZK_WAVE_SQUARE, 0.00f, 0.18f, 523.3f, 523.3f, 0.006f, 0.300f, 0.45f, 0.0f, 0.0f},
        {ZK_WAVE_SQUARE, 0.18f, 0.18f, 440.0f, 440.0f, 0.006f, 0.300f, 0.45f, 0.0f, 0.0f},
        {ZK_WAVE_SQUARE, 0.36f, 0.18f, 349.2f, 349.2f, 0.006f, 0.300f, 0.45f, 0.0f, 0.0f},
        {ZK_WAVE_SQUARE, 0.54f, 0.40f, 293.7f, 261.6f, 0.006f, 0.400f, 0.50f, 4.0f, 0.020f}}},
};

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
