// The records library: order and merge, damage of every kind, the atomic
// replace, two games at once and homes that cannot hold records.
#include "records.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <signal.h>
#include <sstream>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

std::string leer(const std::string& path)
{
    std::ifstream f(path, std::ios::binary);
    std::stringstream s;
    s << f.rdbuf();
    return s.str();
}

void escribir(const std::string& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary) << text;
}

bool existe(const std::string& path)
{
    struct stat st;
    return stat(path.c_str(), &st) == 0;
}

// Each test gets its own empty data home.
class Records : public ::testing::Test {
protected:
    void SetUp() override
    {
        char tmpl[] = "/tmp/zk-records-XXXXXX";
        ASSERT_NE(mkdtemp(tmpl), nullptr);
        home = tmpl;
        setenv("XDG_DATA_HOME", home.c_str(), 1);
        file = home + "/zarkons/prueba.records";
    }
    void TearDown() override
    {
        std::error_code ignorado;
        std::filesystem::remove_all(home, ignorado);
    }

    long scoreAt(const rec_table_t& t, size_t i) { return t.entries.at(i).score; }
    std::string home, file;
};

const char* const kLinea = "100 2026-01-02T03:04:05 ganada\n";

TEST_F(Records, MergesBestFirstKeepsTenAndTheOlderOfEqualScoresAhead)
{
    rec_table_t t;
    int rank = 0;
    const long scores[] = {50, 300, -40, 300, 120, 10, 0, 90, 80, 70};
    for (long s : scores)
        ASSERT_TRUE(rec_add("prueba", s, "perdida", &t, &rank));
    ASSERT_EQ(t.entries.size(), 10u);
    EXPECT_EQ(scoreAt(t, 0), 300);
    EXPECT_EQ(scoreAt(t, 9), -40);

    // an equal score goes under the ones already there
    ASSERT_TRUE(rec_add("prueba", 300, "ganada", &t, &rank));
    EXPECT_EQ(rank, 2);
    EXPECT_EQ(t.entries[0].how, "perdida");
    EXPECT_EQ(t.entries[2].how, "ganada");
    EXPECT_EQ(scoreAt(t, 9), 0) << "the worst record fell off";

    // equal to the last of a full table is not enough
    ASSERT_TRUE(rec_add("prueba", 0, "ganada", &t, &rank));
    EXPECT_EQ(rank, -1);
    EXPECT_EQ(t.entries.size(), 10u);

    // what is on disk is what came back, and reads back the same
    const std::string texto = leer(file);
    EXPECT_EQ(texto.substr(0, 18), "zarkons-records 1\n");
    EXPECT_EQ(texto, rec_format(t));
    rec_table_t otra = rec_parse(texto.data(), texto.size());
    EXPECT_FALSE(otra.damaged());
    ASSERT_EQ(otra.entries.size(), 10u);
    EXPECT_EQ(otra.entries[2].when, t.entries[2].when);
    EXPECT_EQ(t.entries[2].when.size(), 19u);
}

TEST_F(Records, KeepsEveryGoodLineOfADamagedText)
{
    struct Caso {
        const char* nombre;
        std::string texto;
        size_t buenas;
        int malas;
        bool sinCabecera, cortado;
    };
    const std::string cab = "zarkons-records 1\n";
    std::string basura(300, '\0');
    for (size_t i = 0; i < basura.size(); i++)
        basura[i] = (char)(i * 37 + 11) == '\n' ? 'x' : (char)(i * 37 + 11);
    const Caso casos[] = {
        {"good", cab + kLinea + "-20 2026-01-02T03:04:05 sin-vidas\r\n", 2, 0, false, false},
        {"bad fields", cab + kLinea + "abc 2026-01-02T03:04:05 x\n100 2026-13-02T03:04:05 x\n"
                           "1 2026-01-02T03:04:05 X\n1  2026-01-02T03:04:05 x\n12345678901 2026-01-02T03:04:05 x\n"
                           "1 2026-01-02T03:04:05\n- 2026-01-02T03:04:05 x\n" + kLinea, 2, 7, false, false},
        {"foreign format", "zarkons-records 2\n" + std::string(kLinea), 1, 1, true, false},
        {"no header", kLinea, 1, 0, true, false},
        {"binary junk", cab + basura + "\n" + kLinea, 1, 1, false, false},
        {"nul inside a line", cab + std::string("100 2026-01-02T03:04:05 gan\0ada\n", 32) + kLinea, 1, 1, false, false},
        {"huge line", cab + std::string(100000, '7') + "\n" + kLinea, 0, 0, false, true},
        {"huge file", cab + kLinea + std::string(200000, 'x'), 1, 0, false, true},
        {"empty", "", 0, 0, false, false},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.nombre);
        rec_table_t t = rec_parse(c.texto.data(), c.texto.size());
        EXPECT_EQ(t.entries.size(), c.buenas);
        EXPECT_EQ(t.badLines, c.malas);
        EXPECT_EQ(t.badHeader, c.sinCabecera);
        EXPECT_EQ(t.truncated, c.cortado);
    }
}

TEST_F(Records, ADamagedFileIsSetAsideOnceAndWrittenBackClean)
{
    ASSERT_EQ(mkdir((home + "/zarkons").c_str(), 0700), 0);
    const std::string danado = std::string("zarkons-records 1\n") + kLinea + "\x01\x02junk\n";
    escribir(file, danado);

    rec_table_t t;
    int rank = 0;
    testing::internal::CaptureStderr();
    testing::internal::CaptureStdout();
    ASSERT_TRUE(rec_add("prueba", 5, "perdida", &t, &rank));
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find(file + ".damaged"), std::string::npos) << err;
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1);

    EXPECT_EQ(leer(file + ".damaged"), danado);
    ASSERT_EQ(t.entries.size(), 2u);
    EXPECT_EQ(scoreAt(t, 0), 100) << "the good record survived";
    EXPECT_FALSE(rec_parse(leer(file).data(), leer(file).size()).damaged());

    // clean now: no second copy, no second word
    escribir(file + ".damaged", "old copy");
    testing::internal::CaptureStderr();
    ASSERT_TRUE(rec_add("prueba", 6, "perdida", &t, &rank));
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(leer(file + ".damaged"), "old copy");
}

TEST_F(Records, AWriteThatFailsHalfWayLeavesTheOldFileWhole)
{
    rec_table_t t;
    int rank = 0;
    ASSERT_TRUE(rec_add("prueba", 7, "perdida", &t, &rank));
    const std::string antes = leer(file);

    rec_table_t grande;
    for (int i = 0; i < kRecMax; i++)
        grande.entries.push_back(rec_entry_t{1000L + i, "2026-01-02T03:04:05", "ganada"});
    // a child whose files may not grow past 60 bytes: the disk is "full"
    // mid-write, and the limit's signal would kill a careless writer
    const pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        struct rlimit lim = {60, 60};
        setrlimit(RLIMIT_FSIZE, &lim);
        std::string why;
        _exit(rec_save(file, grande, &why) ? 1 : 0);
    }
    int st = 0;
    waitpid(pid, &st, 0);
    ASSERT_TRUE(WIFEXITED(st)) << "killed by signal " << WTERMSIG(st);
    EXPECT_EQ(WEXITSTATUS(st), 0) << "the save should have failed";
    EXPECT_EQ(leer(file), antes);

    // and no temporary file is left behind in the folder
    std::string lista;
    FILE* p = popen(("ls '" + home + "/zarkons'").c_str(), "r");
    char b[256];
    while (fgets(b, sizeof b, p))
        lista += b;
    pclose(p);
    EXPECT_EQ(lista, "prueba.records\nprueba.records.lock\n");
}

TEST_F(Records, TwoGamesEndingAtOnceBothGetIn)
{
    // two processes, five records each, all at the same time
    pid_t hijos[2];
    for (int h = 0; h < 2; h++) {
        hijos[h] = fork();
        ASSERT_GE(hijos[h], 0);
        if (hijos[h] == 0) {
            rec_table_t t;
            int rank;
            bool ok = true;
            for (int i = 0; i < 5; i++)
                ok = rec_add("prueba", 100 * h + i, "perdida", &t, &rank) && ok;
            _exit(ok ? 0 : 1);
        }
    }
    for (pid_t h : hijos) {
        int st = 0;
        waitpid(h, &st, 0);
        EXPECT_TRUE(WIFEXITED(st) && WEXITSTATUS(st) == 0);
    }
    std::string why;
    rec_table_t t;
    ASSERT_TRUE(rec_load(file, &t, &why));
    ASSERT_EQ(t.entries.size(), 10u);
    for (int i = 0; i < 5; i++) {
        EXPECT_EQ(scoreAt(t, (size_t)i), 104 - i);
        EXPECT_EQ(scoreAt(t, (size_t)i + 5), 4 - i);
    }
}

TEST_F(Records, AHomeThatCannotHoldRecordsTurnsThemOffWithOneLine)
{
    // a folder inside a plain file cannot be made, not even by root
    escribir(home + "/archivo", "x");
    setenv("XDG_DATA_HOME", (home + "/archivo").c_str(), 1);
    rec_table_t t;
    int rank = 0;
    testing::internal::CaptureStderr();
    testing::internal::CaptureStdout();
    EXPECT_FALSE(rec_add("prueba", 5, "perdida", &t, &rank));
    EXPECT_FALSE(rec_add("prueba", 6, "perdida", &t, &rank));
    // no HOME at all
    unsetenv("XDG_DATA_HOME");
    unsetenv("HOME");
    EXPECT_FALSE(rec_add("prueba", 7, "perdida", &t, &rank));
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
    EXPECT_EQ(rank, -1);
    EXPECT_TRUE(t.entries.empty());

    // a relative XDG_DATA_HOME is ignored in favour of HOME
    std::string path, why;
    setenv("XDG_DATA_HOME", "relativa", 1);
    setenv("HOME", "/casa", 1);
    ASSERT_TRUE(rec_path("tie-zarkons", &path, &why));
    EXPECT_EQ(path, "/casa/.local/share/zarkons/tie-zarkons.records");
}

TEST_F(Records, SomethingOtherThanAFileInItsPlaceNeitherHangsNorIsLost)
{
    ASSERT_EQ(mkdir((home + "/zarkons").c_str(), 0700), 0);
    ASSERT_EQ(mkfifo(file.c_str(), 0600), 0);
    rec_table_t t;
    int rank = 0;
    testing::internal::CaptureStderr();
    EXPECT_FALSE(rec_add("prueba", 5, "perdida", &t, &rank));
    EXPECT_NE(testing::internal::GetCapturedStderr(), "");
    struct stat st;
    ASSERT_EQ(stat(file.c_str(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));
    EXPECT_FALSE(existe(file + ".damaged"));
}

} // namespace
