// Synthesis: the numbers of an effect turn into the sound they describe.
#include "synth.h"

#include "efectos_prueba.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

zk_effect_t unaCapa(zk_wave_t onda, float largo, float desde, float hasta, float caida = 0.0f)
{
    return {"prueba", largo, 0.5f, 1, {{onda, 0.0f, largo, desde, hasta, 0.005f, caida, 1.0f, 0.0f, 0.0f}}};
}

std::vector<int16_t> tramo(const std::vector<int16_t>& m, double desde, double hasta)
{
    return std::vector<int16_t>(m.begin() + (long)(desde * m.size()), m.begin() + (long)(hasta * m.size()));
}

TEST(Sintesis, LengthPeakAndPitchAreWhatTheNumbersSay)
{
    for (zk_wave_t onda : {ZK_WAVE_SINE, ZK_WAVE_SQUARE, ZK_WAVE_SAW, ZK_WAVE_TRIANGLE}) {
        SCOPED_TRACE(onda);
        const std::vector<int16_t> m = zk_sound_synth(unaCapa(onda, 0.5f, 441.0f, 441.0f));
        ASSERT_EQ(m.size(), (size_t)(0.5 * ZK_SOUND_RATE));
        int pico = 0;
        for (int16_t v : m)
            pico = std::max(pico, std::abs((int)v));
        EXPECT_NEAR(pico, 0.5 * 32767, 2);
        // a tone crosses zero twice a period
        EXPECT_NEAR(zk::crucesPorSegundo(m), 882.0, 30.0);
    }
}

TEST(Sintesis, SlidesGoTheirWayAndNoiseFollowsItsCutOff)
{
    const std::vector<int16_t> baja = zk_sound_synth(unaCapa(ZK_WAVE_SQUARE, 0.6f, 2000.0f, 200.0f));
    EXPECT_GT(zk::crucesPorSegundo(tramo(baja, 0.0, 0.2)), 3 * zk::crucesPorSegundo(tramo(baja, 0.8, 1.0)));
    const std::vector<int16_t> sube = zk_sound_synth(unaCapa(ZK_WAVE_SAW, 0.6f, 200.0f, 2000.0f));
    EXPECT_LT(3 * zk::crucesPorSegundo(tramo(sube, 0.0, 0.2)), zk::crucesPorSegundo(tramo(sube, 0.8, 1.0)));

    const std::vector<int16_t> clara = zk_sound_synth(unaCapa(ZK_WAVE_NOISE, 0.4f, 8000.0f, 8000.0f));
    const std::vector<int16_t> sorda = zk_sound_synth(unaCapa(ZK_WAVE_NOISE, 0.4f, 300.0f, 300.0f));
    EXPECT_GT(zk::crucesPorSegundo(clara), 4 * zk::crucesPorSegundo(sorda));
    // the noise is the same on every run of the game
    EXPECT_EQ(clara, zk_sound_synth(unaCapa(ZK_WAVE_NOISE, 0.4f, 8000.0f, 8000.0f)));
}

TEST(Sintesis, DecayFadesAndLayersLandWhereTheyStart)
{
    const std::vector<int16_t> m = zk_sound_synth(unaCapa(ZK_WAVE_SINE, 0.8f, 300.0f, 300.0f, 0.1f));
    int principio = 0, fin = 0;
    for (size_t i = 0; i < m.size() / 8; i++) {
        principio = std::max(principio, std::abs((int)m[i]));
        fin = std::max(fin, std::abs((int)m[m.size() - 1 - i]));
    }
    EXPECT_LT(fin, principio / 20) << "a decay of 0.1 s leaves almost nothing after 0.7 s";

    // a second layer starting at 0.3 s: silence before it, sound after
    zk_effect_t dos = unaCapa(ZK_WAVE_SINE, 0.6f, 500.0f, 500.0f);
    dos.layers = 2;
    dos.layer[0].length = 0.1f;
    dos.layer[1] = dos.layer[0];
    dos.layer[1].start = 0.3f;
    dos.layer[1].length = 0.5f; // runs past the end: cut there, never beyond
    const std::vector<int16_t> d = zk_sound_synth(dos);
    ASSERT_EQ(d.size(), (size_t)(0.6 * ZK_SOUND_RATE));
    int hueco = 0, despues = 0;
    for (size_t i = (size_t)(0.13 * ZK_SOUND_RATE); i < (size_t)(0.29 * ZK_SOUND_RATE); i++)
        hueco = std::max(hueco, std::abs((int)d[i]));
    for (size_t i = (size_t)(0.31 * ZK_SOUND_RATE); i < (size_t)(0.5 * ZK_SOUND_RATE); i++)
        despues = std::max(despues, std::abs((int)d[i]));
    EXPECT_LT(hueco, 200);
    EXPECT_GT(despues, 10000);
}

} // namespace
