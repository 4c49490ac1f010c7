// The generator's only source of variety: a fixed-seed generator of its own,
// so every run writes the same bytes on every machine.
#pragma once

#include <cstdint>

namespace artgen {

class Prng {
public:
    explicit Prng(uint64_t seed) : state(seed) {}

    // splitmix64: small, fast and well spread, which is all the art needs
    uint64_t next()
    {
        uint64_t z = (state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    // Uniform in [0, 1), from the top 53 bits.
    double uniform() { return (double)(next() >> 11) * (1.0 / 9007199254740992.0); }
    double range(double lo, double hi) { return lo + (hi - lo) * uniform(); }
    int below(int n) { return (int)(uniform() * n); }

private:
    uint64_t state;
};

} // namespace artgen
