// Loading AC3D files of growing size: the figures show linear growth, and what
// the per-vertex search for normals would cost instead.
//   bench_ac3d                      the Google Benchmark runs
//   bench_ac3d --write N FILE       writes the generated model of about N vertices
//   bench_ac3d --load FILE...       loads each file once and prints the time taken
#include "ac3d.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <unistd.h>

namespace
{

// A wavy w x h grid of vertices with one smooth quad per cell; w x h = n when
// n is a power of ten (w is the largest divisor of n not above its root).
bool writeGrid(long n, const std::string& path)
{
    long w = (long)std::sqrt((double)n);
    while (w > 1 && n % w != 0)
        w--;
    long h = n / w;
    FILE* f = fopen(path.c_str(), "w");
    if (!f)
        return false;
    fprintf(f, "AC3Db\nMATERIAL \"grey\" rgb 0.6 0.6 0.6  amb 0.2 0.2 0.2  emis 0 0 0  "
               "spec 0.5 0.5 0.5  shi 10  trans 0\nOBJECT world\nkids 1\nOBJECT poly\nname \"grid\"\n");
    fprintf(f, "numvert %ld\n", w * h);
    for (long y = 0; y < h; y++)
        for (long x = 0; x < w; x++)
            fprintf(f, "%g %g %g\n", x * 0.1, y * 0.1, 0.3 * std::sin(x * 0.37) * std::cos(y * 0.21));
    fprintf(f, "numsurf %ld\n", (w - 1) * (h - 1));
    for (long y = 0; y + 1 < h; y++)
        for (long x = 0; x + 1 < w; x++) {
            long v = y * w + x;
            fprintf(f, "SURF 0x10\nmat 0\nrefs 4\n%ld 0 0\n%ld 1 0\n%ld 1 1\n%ld 0 1\n", v, v + 1, v + w + 1,
                    v + w);
        }
    fprintf(f, "kids 0\n");
    return fclose(f) == 0;
}

// One generated file per size for the whole run.
std::map<long, std::string> gridFiles;

const std::string& gridFile(long n)
{
    std::string& path = gridFiles[n];
    if (path.empty()) {
        path = "/tmp/zk-bench-ac3d-" + std::to_string(getpid()) + "-" + std::to_string(n) + ".ac";
        if (!writeGrid(n, path))
            path.clear();
    }
    return path;
}

ACObject_t* loadQuietly(const std::string& path)
{
    // the palette would fill after 255 loads of the one-material file
    ac_reset_for_tests();
    return ac_load_ac3d(const_cast<char*>(path.c_str()));
}

// The averaging rule searched per vertex, the way the loader no longer does it.
void quadraticNormals(ACObject_t* ob)
{
    for (int i = 0; i < ob->num_vert; i++) {
        float sum[3] = {0, 0, 0};
        int count = 0;
        for (int s = 0; s < ob->num_surf; s++)
            for (int r = 0; r < ob->surfaces[s].num_vertref; r++)
                if (ob->surfaces[s].vertref[r] == i) {
                    for (int k = 0; k < 3; k++)
                        sum[k] += ob->surfaces[s].normal[k];
                    count++;
                }
        for (int k = 0; k < 3; k++)
            ob->vertices[i].normal[k] = count > 0 ? sum[k] / count : sum[k];
    }
}

void BM_LoadGrid(benchmark::State& state)
{
    const std::string& path = gridFile(state.range(0));
    if (path.empty()) {
        state.SkipWithError("cannot write the model file");
        return;
    }
    for (auto _ : state) {
        ACObject_t* ob = loadQuietly(path);
        benchmark::DoNotOptimize(ob);
        ac_object_free(ob);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_LoadGrid)->Arg(1000)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

void BM_QuadraticNormals(benchmark::State& state)
{
    ACObject_t* root = loadQuietly(gridFile(state.range(0)));
    if (root == nullptr || root->num_kids != 1) {
        state.SkipWithError("cannot load the model file");
        return;
    }
    for (auto _ : state)
        quadraticNormals(root->kids[0]);
    ac_object_free(root);
}
BENCHMARK(BM_QuadraticNormals)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

int loadFiles(int argc, char** argv)
{
    int failures = 0;
    for (int i = 2; i < argc; i++) {
        auto start = std::chrono::steady_clock::now();
        ACObject_t* ob = loadQuietly(argv[i]);
        double ms =
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        if (ob == nullptr)
            failures++;
        else
            printf("%s: loaded in %.1f ms\n", argv[i], ms);
        ac_object_free(ob);
    }
    return failures > 0 ? 1 : 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 4 && strcmp(argv[1], "--write") == 0)
        return writeGrid(atol(argv[2]), argv[3]) ? 0 : 1;
    if (argc >= 3 && strcmp(argv[1], "--load") == 0)
        return loadFiles(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    for (const auto& file : gridFiles)
        unlink(file.second.c_str());
    return 0;
}
