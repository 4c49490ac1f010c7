// Records files under stress, in figures: many games adding at once (how long
// the longest add waited, whether any gave up, whether exactly the best ten
// were kept) and writers killed at random moments (whether the table stayed
// valid, and whether the next writer removed what the killed ones left).
//
// Usage: bench_records [WRITERS ADDS KILLS]   (defaults 32 200 400)
// It runs in a fresh folder under /tmp and prints one line a figure.
#include "records.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <filesystem>
#include <signal.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

double ahora()
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

// Temporary files of the table: "prueba.records." and six characters.
int restos(const std::string& dir)
{
    int n = 0;
    DIR* d = opendir(dir.c_str());
    if (d == nullptr)
        return 0;
    while (const dirent* e = readdir(d)) {
        const std::string s = e->d_name;
        n += (s.size() == 21 && s.compare(0, 15, "prueba.records.") == 0 && s != "prueba.records.damaged")
                 ? 1
                 : 0;
    }
    closedir(d);
    return n;
}

struct Figuras {
    double peor = 0;  // longest add, seconds
    int lentas = 0;   // adds over a second
    int fallidas = 0; // adds that gave up
};

// WRITERS processes of ADDS adds each, all at once; scores are all different
// and grow, so that nearly every add makes the table and writes it.
void contienda(const std::string& file, int escritores, int altas)
{
    std::vector<int> tubos;
    std::vector<pid_t> hijos;
    const double inicio = ahora();
    for (int w = 0; w < escritores; w++) {
        int p[2];
        if (pipe(p) != 0)
            exit(1);
        const pid_t pid = fork();
        if (pid == 0) {
            close(p[0]);
            Figuras f;
            for (int i = 0; i < altas; i++) {
                rec_table_t t;
                int rank;
                const double t0 = ahora();
                const bool ok = rec_add("prueba", 1L + (long)i * escritores + w, "perdida", &t, &rank);
                const double d = ahora() - t0;
                f.peor = std::max(f.peor, d);
                f.lentas += d > 1.0 ? 1 : 0;
                f.fallidas += ok ? 0 : 1;
            }
            _exit(write(p[1], &f, sizeof f) == (ssize_t)sizeof f ? 0 : 1);
        }
        close(p[1]);
        tubos.push_back(p[0]);
        hijos.push_back(pid);
    }
    Figuras total;
    for (size_t i = 0; i < hijos.size(); i++) {
        Figuras f;
        if (read(tubos[i], &f, sizeof f) == (ssize_t)sizeof f) {
            total.peor = std::max(total.peor, f.peor);
            total.lentas += f.lentas;
            total.fallidas += f.fallidas;
        } else {
            total.fallidas += altas;
        }
        close(tubos[i]);
        waitpid(hijos[i], nullptr, 0);
    }
    const double segundos = ahora() - inicio;
    rec_table_t t;
    std::string why;
    bool mejores = rec_load(file, &t, &why) && !t.damaged() && t.entries.size() == (size_t)kRecMax;
    const long tope = (long)escritores * altas;
    for (size_t i = 0; mejores && i < t.entries.size(); i++)
        mejores = t.entries[i].score == tope - (long)i;
    printf("%d writers x %d adds: %.1f s, %d gave up, longest add %.3f s, %d adds over 1 s, "
           "best ten kept: %s\n",
           escritores, altas, segundos, total.fallidas, total.peor, total.lentas, mejores ? "yes" : "NO");
}

// A writer adding without end, killed after a random moment, KILLS times.
void matanza(const std::string& file, const std::string& dir, int muertes)
{
    int invalidas = 0, conRestos = 0, restosTrasAlta = 0;
    srand(7);
    for (int k = 0; k < muertes; k++) {
        const pid_t pid = fork();
        if (pid == 0) {
            for (long i = 1;; i++) {
                rec_table_t t;
                int rank;
                rec_add("prueba", i, "perdida", &t, &rank);
            }
        }
        usleep((useconds_t)(rand() % 20000));
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
        rec_table_t t;
        std::string why;
        invalidas += (!rec_load(file, &t, &why) || t.damaged()) ? 1 : 0;
        conRestos += restos(dir) > 0 ? 1 : 0;
        int rank;
        rec_add("prueba", 1, "perdida", &t, &rank);
        restosTrasAlta += restos(dir);
    }
    printf("%d writers killed at random moments: %d invalid tables, %d kills left a temporary file, "
           "%d temporary files left after the next add\n",
           muertes, invalidas, conRestos, restosTrasAlta);
}

} // namespace

int main(int argc, char** argv)
{
    const int escritores = argc > 1 ? atoi(argv[1]) : 32;
    const int altas = argc > 2 ? atoi(argv[2]) : 200;
    const int muertes = argc > 3 ? atoi(argv[3]) : 400;
    char tmpl[] = "/tmp/zk-bench-records-XXXXXX";
    if (mkdtemp(tmpl) == nullptr)
        return 1;
    const std::string home = tmpl;
    setenv("XDG_DATA_HOME", home.c_str(), 1);
    const std::string dir = home + "/zarkons";
    const std::string file = dir + "/prueba.records";

    contienda(file, escritores, altas);
    if (escritores != 8) {
        std::filesystem::remove_all(dir);
        contienda(file, 8, altas);
    }
    std::filesystem::remove_all(dir);
    matanza(file, dir, muertes);
    std::filesystem::remove_all(home);
    return 0;
}
