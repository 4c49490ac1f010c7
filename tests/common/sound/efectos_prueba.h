// Checks every game's table of effects must pass: under a second, loud but
// below full scale, no DC offset, quiet at both ends, and each one unlike the
// others (in its rhythm, its pitch or its very wave).
#pragma once

#include "synth.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <vector>

namespace zk {

// Zero crossings per second: a rough pitch, or the brightness of a noise.
inline double crucesPorSegundo(const std::vector<int16_t>& m)
{
    size_t n = 0;
    for (size_t i = 1; i < m.size(); i++)
        n += (m[i - 1] < 0) != (m[i] < 0);
    return n * (double)ZK_SOUND_RATE / (double)m.size();
}

// Normalised correlation of two renderings over their common length.
inline double parecido(const std::vector<int16_t>& a, const std::vector<int16_t>& b)
{
    double ab = 0, aa = 0, bb = 0;
    for (size_t i = 0; i < std::min(a.size(), b.size()); i++) {
        ab += (double)a[i] * b[i];
        aa += (double)a[i] * a[i];
        bb += (double)b[i] * b[i];
    }
    return aa > 0 && bb > 0 ? ab / std::sqrt(aa * bb) : 0.0;
}

inline void revisarEfectos(const zk_effect_t* efectos, int n)
{
    std::vector<std::vector<int16_t>> m;
    for (int i = 0; i < n; i++) {
        const zk_effect_t& e = efectos[i];
        SCOPED_TRACE(e.name);
        m.push_back(zk_sound_synth(e));
        const std::vector<int16_t>& s = m.back();
        EXPECT_GT(s.size(), (size_t)(0.05 * ZK_SOUND_RATE));
        EXPECT_LT(s.size(), (size_t)ZK_SOUND_RATE) << "an effect is under a second";
        int pico = 0;
        double suma = 0;
        for (int16_t v : s) {
            pico = std::max(pico, std::abs((int)v));
            suma += v;
        }
        EXPECT_LT(pico, 32000) << "clips";
        EXPECT_GT(pico, 32767 / 3) << "too quiet to hear over the others";
        EXPECT_LT(std::fabs(suma / s.size()), 0.002 * 32767) << "DC offset";
        EXPECT_LT(std::abs((int)s.front()), 50);
        EXPECT_LT(std::abs((int)s.back()), 50);
        // every layer is heard, none ends up beyond the effect
        for (int l = 0; l < e.layers; l++)
            EXPECT_LT(e.layer[l].start, e.length) << "layer " << l;
    }
    for (int i = 0; i < n; i++)
        for (int j = i + 1; j < n; j++) {
            const double largo = (double)m[i].size() / m[j].size();
            const double cruces = crucesPorSegundo(m[i]) / crucesPorSegundo(m[j]);
            const bool otroRitmo = std::fabs(largo - 1.0) > 0.1;
            const bool otroTono = std::fabs(cruces - 1.0) > 0.15;
            EXPECT_LT(parecido(m[i], m[j]), 0.5) << efectos[i].name << " / " << efectos[j].name;
            EXPECT_TRUE(otroRitmo || otroTono) << efectos[i].name << " and " << efectos[j].name
                                               << " sound alike: lengths " << largo << ", crossings " << cruces;
        }
}

} // namespace zk
