// Effects synthesised in memory from a few numbers each: oscillators, noise,
// pitch slides and envelopes, rendered once at start-up.
#pragma once

#include <cstdint>
#include <vector>

const int ZK_SOUND_RATE = 44100;   // samples per second of every effect
const int ZK_SOUND_LAYERS = 4;     // layers at most in one effect
const float ZK_SOUND_MAX_LENGTH = 1.0f; // seconds; every effect is shorter

enum zk_wave_t {
    ZK_WAVE_SINE,
    ZK_WAVE_SQUARE,
    ZK_WAVE_SAW,
    ZK_WAVE_TRIANGLE,
    ZK_WAVE_NOISE,  // white noise, shaped by the layer's low-pass
};

// One voice of an effect: an oscillator (or noise) whose pitch slides from
// freq_start to freq_end, under an attack and an exponential decay.
struct zk_layer_t {
    zk_wave_t wave;
    float start;          // seconds from the start of the effect
    float length;         // seconds the layer sounds
    float freq_start;     // Hz at the start (noise: low-pass cut-off)
    float freq_end;       // Hz at the end; the slide is exponential
    float attack;         // seconds to full level
    float decay;          // level falls by e every `decay` seconds after the attack (0: flat)
    float level;          // share of the mix, 0...1
    float vibrato_hz;     // pitch wobble rate (0: none)
    float vibrato_depth;  // pitch wobble as a fraction of the pitch
};

struct zk_effect_t {
    const char* name;     // for messages and tests
    float length;         // seconds, under ZK_SOUND_MAX_LENGTH
    float peak;           // loudest sample as a fraction of full scale, below 1
    int layers;           // used entries of `layer`
    zk_layer_t layer[ZK_SOUND_LAYERS];
};

// Renders one effect: mono, 16-bit, ZK_SOUND_RATE samples a second, its peak
// at `peak` of full scale, without DC offset, starting and ending at rest.
std::vector<int16_t> zk_sound_synth(const zk_effect_t& effect);
