// Effects rendered from their few numbers: each layer an oscillator or a
// filtered noise with a pitch slide and an envelope, the layers summed, the
// DC taken out, the ends faded and the whole scaled to its peak.
#include "synth.h"

#include <algorithm>
#include <cassert>
#include <cmath>

// --- constants ---

static const double kDosPi = 6.283185307179586;
// The DC blocker's pole: about 35 Hz at 44.1 kHz, below every pitch we use.
static const double kPoloDC = 0.995;
// Short fades so no effect starts or stops with a click.
static const double kFadeEntrada = 0.002;
static const double kFadeSalida = 0.010;
// A layer that ends before its decay has died away is let go over this long.
static const double kSoltarCapa = 0.005;

// --- helpers ---

// A small, fixed noise source: every run of the game sounds the same.
struct Ruido {
    uint32_t estado = 0x9E3779B9u;
    double siguiente()
    {
        estado ^= estado << 13;
        estado ^= estado >> 17;
        estado ^= estado << 5;
        return (double)estado / 2147483648.0 - 1.0;
    }
};

// The step a hard edge takes is smoothed over one sample each side, so the
// square and the saw do not alias into a hiss at high pitches.
static double suavizarSalto(double fase, double paso)
{
    if (fase < paso) {
        const double t = fase / paso;
        return t + t - t * t - 1.0;
    }
    if (fase > 1.0 - paso) {
        const double t = (fase - 1.0) / paso;
        return t * t + t + t + 1.0;
    }
    return 0.0;
}

static double oscilador(zk_wave_t onda, double fase, double paso)
{
    switch (onda) {
    case ZK_WAVE_SINE:
        return std::sin(kDosPi * fase);
    case ZK_WAVE_SQUARE: {
        double v = fase < 0.5 ? 1.0 : -1.0;
        v += suavizarSalto(fase, paso);
        v -= suavizarSalto(std::fmod(fase + 0.5, 1.0), paso);
        return v;
    }
    case ZK_WAVE_SAW:
        return 2.0 * fase - 1.0 - suavizarSalto(fase, paso);
    case ZK_WAVE_TRIANGLE:
        return 4.0 * std::fabs(fase - 0.5) - 1.0;
    case ZK_WAVE_NOISE:
        break;
    }
    return 0.0;
}

// Adds one layer into the mix. Pitch and decay advance by a constant factor
// per sample (both are exponential), so a sample costs a few multiplications:
// all the effects of a game render in a few milliseconds at start-up.
static void sumarCapa(const zk_layer_t& c, std::vector<double>& mezcla)
{
    const size_t desde = (size_t)std::lround(c.start * ZK_SOUND_RATE);
    const size_t n = (size_t)std::lround(c.length * ZK_SOUND_RATE);
    const size_t ataque = (size_t)(c.attack * ZK_SOUND_RATE);
    const size_t soltar = (size_t)(kSoltarCapa * ZK_SOUND_RATE);
    const double factorTono = std::pow((double)c.freq_end / c.freq_start, 1.0 / (double)n);
    const double factorCaida = c.decay > 0.0f ? std::exp(-1.0 / (c.decay * ZK_SOUND_RATE)) : 1.0;
    const double pasoVibrato = (double)c.vibrato_hz / ZK_SOUND_RATE;
    Ruido ruido;
    double f = c.freq_start, caida = 1.0, faseVibrato = 0.0;
    double fase = 0.0, filtro1 = 0.0, filtro2 = 0.0, a = 0.0, ganancia = 0.0;
    for (size_t i = 0; i < n && desde + i < mezcla.size(); i++) {
        double fi = f;
        if (pasoVibrato > 0.0) {
            fi *= 1.0 + c.vibrato_depth * std::sin(kDosPi * faseVibrato);
            faseVibrato += pasoVibrato;
        }
        double v;
        if (c.wave == ZK_WAVE_NOISE) {
            // two one-pole low-passes at the sliding cut-off, retuned every 16
            // samples; the gain makes up for the power the filter takes, so
            // `level` means about the same for noise as for a tone
            if (i % 16 == 0) {
                a = 1.0 - std::exp(-kDosPi * fi / ZK_SOUND_RATE);
                ganancia = 1.0 / std::sqrt(a / (2.0 - a));
            }
            filtro1 += a * (ruido.siguiente() - filtro1);
            filtro2 += a * (filtro1 - filtro2);
            v = filtro2 * ganancia;
        } else {
            const double paso = std::min(0.5, fi / ZK_SOUND_RATE);
            v = oscilador(c.wave, fase, paso);
            fase += paso;
            if (fase >= 1.0)
                fase -= 1.0;
        }
        double e;
        if (i < ataque) {
            e = (double)i / (double)ataque;
        } else {
            e = caida;
            caida *= factorCaida;
        }
        // a layer cut off before its decay has died away is let go, not chopped
        if (n - i < soltar)
            e *= (double)(n - i) / (double)soltar;
        mezcla[desde + i] += c.level * e * v;
        f *= factorTono;
    }
}

// --- public functions ---

std::vector<int16_t> zk_sound_synth(const zk_effect_t& e)
{
    assert(e.length > 0.0f && e.length < ZK_SOUND_MAX_LENGTH);
    assert(e.peak > 0.0f && e.peak < 1.0f);
    assert(e.layers >= 1 && e.layers <= ZK_SOUND_LAYERS);
    const size_t n = (size_t)std::lround(e.length * ZK_SOUND_RATE);
    std::vector<double> mezcla(n, 0.0);
    for (int i = 0; i < e.layers; i++) {
        const zk_layer_t& c = e.layer[i];
        assert(c.length > 0.0f && c.freq_start > 0.0f && c.freq_end > 0.0f && c.start >= 0.0f);
        assert(c.attack >= 0.0f && c.decay >= 0.0f);
        sumarCapa(c, mezcla);
    }

    // a DC offset would thump the speaker at each start and stop
    double anterior = 0.0, salida = 0.0;
    for (double& v : mezcla) {
        salida = v - anterior + kPoloDC * salida;
        anterior = v;
        v = salida;
    }
    const size_t entrada = std::min(n, (size_t)(kFadeEntrada * ZK_SOUND_RATE));
    const size_t cola = std::min(n, (size_t)(kFadeSalida * ZK_SOUND_RATE));
    for (size_t i = 0; i < entrada; i++)
        mezcla[i] *= (double)i / entrada;
    for (size_t i = 0; i < cola; i++)
        mezcla[n - 1 - i] *= (double)i / cola;

    double pico = 0.0;
    for (double v : mezcla)
        pico = std::max(pico, std::fabs(v));
    std::vector<int16_t> muestras(n, 0);
    if (pico <= 0.0)
        return muestras;
    const double escala = e.peak * 32767.0 / pico;
    for (size_t i = 0; i < n; i++)
        muestras[i] = (int16_t)std::lround(mezcla[i] * escala);
    return muestras;
}
