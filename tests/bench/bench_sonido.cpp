// Start-up cost of sound: rendering each game's table of effects, and opening
// OpenAL's null output with them loaded. Figures only; the CPU of play with
// and without sound is measured by bench_sonido.sh.
#include "sound.h"

#include <benchmark/benchmark.h>

#include <cstdlib>

// Each game's table, from its own library (the names differ so both link).
const zk_effect_t* efectosSonido();
const zk_effect_t* efectosSonidoTie();

static void renderTabla(benchmark::State& state, const zk_effect_t* tabla, int n)
{
    for (auto _ : state)
        for (int i = 0; i < n; i++)
            benchmark::DoNotOptimize(zk_sound_synth(tabla[i]));
}

static void BM_EfectosSpaceZarkons(benchmark::State& state) { renderTabla(state, efectosSonido(), 7); }
static void BM_EfectosTieZarkons(benchmark::State& state) { renderTabla(state, efectosSonidoTie(), 6); }

// The whole of what a game adds at start-up: render, open the device, load
// the buffers (closing, which waits for the mixer thread, is left out).
static void BM_AbrirConEfectos(benchmark::State& state)
{
    setenv("ALSOFT_DRIVERS", "null", 1);
    for (auto _ : state) {
        zk_sound_open(efectosSonido(), 7, false);
        state.PauseTiming();
        zk_sound_close();
        state.ResumeTiming();
    }
}

BENCHMARK(BM_EfectosSpaceZarkons)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EfectosTieZarkons)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AbrirConEfectos)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
