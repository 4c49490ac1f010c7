// Vertex normals of the RAW ship: the table of exact coordinates against the
// literal all-pairs search, from 1 k to 1 M triangles. Figures only.
#include "Nave.h"

#include "Geometria.h"
#include "../space-zarkons-3d/scene/normales_directas.h"

#include "e2e.h"
#include "gl_test.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

// A bumpy height field of side x side squares, two triangles each, written the
// way a modeller would: every shared vertex with the same coordinates.
static std::vector<Triangulo*> malla(int lado)
{
    auto punto = [](int i, int j) {
        return Punto((float)i, (float)j, (float)(std::sin(i * 0.37) * std::cos(j * 0.23)));
    };
    std::vector<Triangulo*> ts;
    ts.reserve((size_t)2 * lado * lado);
    for (int i = 0; i < lado; i++)
        for (int j = 0; j < lado; j++) {
            ts.push_back(new Triangulo(punto(i, j), punto(i + 1, j), punto(i, j + 1)));
            ts.push_back(new Triangulo(punto(i + 1, j), punto(i + 1, j + 1), punto(i, j + 1)));
        }
    return ts;
}

// n triangles round one shared centre: every vertex normal of the centre sums
// nearly all of them, so both ways are quadratic here.
static std::vector<Triangulo*> abanico(int n)
{
    std::vector<Triangulo*> ts;
    for (int i = 0; i < n; i++) {
        const double a = i * 6.283185307 / n, b = (i + 1) * 6.283185307 / n;
        ts.push_back(new Triangulo(Punto(0, 0, 1), Punto((float)std::cos(a), (float)std::sin(a), 0),
                                   Punto((float)std::cos(b), (float)std::sin(b), 0)));
    }
    return ts;
}

static void liberar(std::vector<Triangulo*>& ts)
{
    for (Triangulo* t : ts)
        delete t;
}

static int ladoPara(int64_t triangulos)
{
    return (int)std::lround(std::sqrt(triangulos / 2.0));
}

static void BM_NormalesPorTabla(benchmark::State& state)
{
    std::vector<Triangulo*> ts = malla(ladoPara(state.range(0)));
    for (auto _ : state) {
        std::vector<Vector*> normales;
        Nave::calcularNormales(ts, normales);
        benchmark::DoNotOptimize(normales.data());
        state.PauseTiming();
        for (Vector* v : normales)
            delete v;
        state.ResumeTiming();
    }
    state.SetComplexityN((int64_t)ts.size());
    state.counters["triangulos"] = (double)ts.size();
    state.counters["ns_por_triangulo"] = benchmark::Counter(
        (double)ts.size(), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
    liberar(ts);
}
BENCHMARK(BM_NormalesPorTabla)
    ->Arg(1000)->Arg(10000)->Arg(100000)->Arg(1000000)
    ->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN);

static void BM_NormalesDirectas(benchmark::State& state)
{
    std::vector<Triangulo*> ts = malla(ladoPara(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(normalesDirectas(ts).data());
    state.SetComplexityN((int64_t)ts.size());
    state.counters["triangulos"] = (double)ts.size();
    state.counters["ns_por_triangulo"] = benchmark::Counter(
        (double)ts.size(), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
    liberar(ts);
}
// Some 9 ns times the square of the count: 1 M would take hours, so the
// figures stop at 100 k, which still finishes in a minute or two.
BENCHMARK(BM_NormalesDirectas)
    ->Arg(1000)->Arg(3000)->Arg(10000)->Arg(30000)->Arg(100000)->Iterations(1)
    ->Unit(benchmark::kMillisecond)->Complexity(benchmark::oNSquared);

static void BM_NormalesAbanico(benchmark::State& state)
{
    std::vector<Triangulo*> ts = abanico((int)state.range(0));
    for (auto _ : state) {
        std::vector<Vector*> normales;
        Nave::calcularNormales(ts, normales);
        benchmark::DoNotOptimize(normales.data());
        for (Vector* v : normales)
            delete v;
    }
    state.SetComplexityN((int64_t)ts.size());
    liberar(ts);
}
BENCHMARK(BM_NormalesAbanico)->Arg(1000)->Arg(4000)->Arg(16000)
    ->Unit(benchmark::kMillisecond)->Complexity(benchmark::oNSquared);

// The whole constructor: reading the file as well as the normals.
static void BM_CargaArchivo(benchmark::State& state)
{
    const std::string dir = zk::makeTempDir();
    const std::string datos = dir + "/data";
    mkdir(datos.c_str(), 0700);
    {
        std::vector<Triangulo*> ts = malla(ladoPara(state.range(0)));
        std::ofstream f(datos + "/nave.raw");
        for (const Triangulo* t : ts) {
            const Punto* p[3] = {&t->getA(), &t->getB(), &t->getC()};
            for (const Punto* q : p)
                f << q->getX() << ' ' << q->getY() << ' ' << q->getZ() << ' ';
            f << '\n';
        }
        liberar(ts);
    }
    char cwd[4096];
    const std::string anterior = getcwd(cwd, sizeof cwd) ? cwd : ".";
    if (chdir(dir.c_str()) != 0)
        state.SkipWithError("cannot enter the temporary folder");
    for (auto _ : state) {
        zk::StdoutCapture silencio; // the progress lines
        Nave* n = new Nave(0, 0, 0, 0, 0, 0);
        benchmark::DoNotOptimize(n);
        state.PauseTiming();
        delete n;
        silencio.finish();
        state.ResumeTiming();
    }
    if (chdir(anterior.c_str()) != 0)
        state.SkipWithError("cannot go back");
    std::remove((datos + "/nave.raw").c_str());
    rmdir(datos.c_str());
    rmdir(dir.c_str());
}
BENCHMARK(BM_CargaArchivo)->Arg(1000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
