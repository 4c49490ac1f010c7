// What sound costs: rendering each game's table of effects, opening OpenAL's
// null output with them loaded, and the mixer thread's CPU while effects keep
// playing. Figures only; the CPU of whole games with and without sound is
// measured by bench_sonido.sh.
#include "sound.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <sys/resource.h>
#include <thread>

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

static double segundosCpu()
{
    rusage r;
    getrusage(RUSAGE_SELF, &r);
    return r.ru_utime.tv_sec + r.ru_stime.tv_sec + (r.ru_utime.tv_usec + r.ru_stime.tv_usec) / 1e6;
}

// The mixer thread at work: an effect started every 100 ms, as in a busy
// game, for five seconds; the main thread only sleeps in between, so the
// process's CPU is the mixer's. Shown as a percentage of one core.
static void BM_MezclaCincoSegundos(benchmark::State& state)
{
    setenv("ALSOFT_DRIVERS", "null", 1);
    zk_sound_open(efectosSonido(), 7, false);
    const float oyente[3] = {0.0f, 0.0f, 80.0f}, centro[3] = {0.0f, 0.0f, 40.0f}, arriba[3] = {0.0f, 1.0f, 0.0f};
    zk_sound_listener(oyente, centro, arriba);
    for (auto _ : state) {
        const double cpu0 = segundosCpu();
        const auto t0 = std::chrono::steady_clock::now();
        for (int i = 0; i < 50; i++) {
            zk_sound_play_at(i % 7, (float)(i % 9) * 5.0f - 20.0f, 0.0f, 30.0f);
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
        const double pared = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
        state.counters["mezcla_%_de_un_nucleo"] = 100.0 * (segundosCpu() - cpu0) / pared;
    }
    zk_sound_close();
}

BENCHMARK(BM_EfectosSpaceZarkons)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EfectosTieZarkons)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AbrirConEfectos)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MezclaCincoSegundos)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
