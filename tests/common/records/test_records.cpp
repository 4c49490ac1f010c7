// The records library: order and merge, damage of every kind, the atomic
// replace, two games at once and homes that cannot hold records.
#include "records.h"
#include "cerrojo.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
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
    const long scores[] = {50, 300, 40, 300, 120, 10, 5, 90, 80, 70};
    for (long s : scores)
        ASSERT_TRUE(rec_add("prueba", s, "perdida", &t, &rank));
    ASSERT_EQ(t.entries.size(), 10u);
    EXPECT_EQ(scoreAt(t, 0), 300);
    EXPECT_EQ(scoreAt(t, 9), 5);

    // an equal score goes under the ones already there
    ASSERT_TRUE(rec_add("prueba", 300, "ganada", &t, &rank));
    EXPECT_EQ(rank, 2);
    EXPECT_EQ(t.entries[0].how, "perdida");
    EXPECT_EQ(t.entries[2].how, "ganada");
    EXPECT_EQ(scoreAt(t, 9), 10) << "the worst record fell off";

    // equal to the last of a full table is not enough
    ASSERT_TRUE(rec_add("prueba", 10, "ganada", &t, &rank));
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
        {"foreign format", "zarkons-records 0\n" + std::string(kLinea), 1, 1, true, false},
        {"beyond the score range", cab + "-9999999999 2026-01-02T03:04:05 x\n"
                                         "10000000000 2026-01-02T03:04:05 x\n", 1, 1, false, false},
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
                ok = rec_add("prueba", 100 * h + i + 1, "perdida", &t, &rank) && ok;
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
        EXPECT_EQ(scoreAt(t, (size_t)i), 105 - i);
        EXPECT_EQ(scoreAt(t, (size_t)i + 5), 5 - i);
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

TEST_F(Records, OnlyAScoreAboveZeroIsARecordAndOldOnesAtOrBelowZeroGo)
{
    ASSERT_EQ(mkdir((home + "/zarkons").c_str(), 0700), 0);
    // a table an older version wrote, with games that ended at zero or below
    escribir(file, std::string("zarkons-records 1\n") + kLinea + "0 2026-01-02T03:04:05 perdida\n"
                   "-80 2026-01-02T03:04:06 perdida\n");
    rec_table_t t;
    int rank = 0;
    testing::internal::CaptureStderr();
    for (long s : {0L, -140L, -kRecScoreMax}) {
        ASSERT_TRUE(rec_add("prueba", s, "perdida", &t, &rank)) << s;
        EXPECT_EQ(rank, -1) << s;
        ASSERT_EQ(t.entries.size(), 1u) << "the table still comes back to be shown";
        EXPECT_EQ(scoreAt(t, 0), 100);
    }
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "") << "no damage to speak of";
    EXPECT_EQ(leer(file), std::string("zarkons-records 1\n") + kLinea);
    EXPECT_FALSE(existe(file + ".damaged"));
    ASSERT_TRUE(rec_add("prueba", 1, "perdida", &t, &rank));
    EXPECT_EQ(rank, 1);
}

TEST_F(Records, AScoreBeyondWhatTheReaderTakesIsRefusedAtTheAdd)
{
    rec_table_t t;
    int rank = 0;
    ASSERT_TRUE(rec_add("prueba", 5, "perdida", &t, &rank));
    const std::string antes = leer(file);
    for (long s : {kRecScoreMax + 1, 99999999999L, -kRecScoreMax - 1}) {
        testing::internal::CaptureStderr();
        EXPECT_FALSE(rec_add("prueba", s, "ganada", &t, &rank)) << s;
        const std::string err = testing::internal::GetCapturedStderr();
        EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
        EXPECT_EQ(rank, -1);
        EXPECT_EQ(leer(file), antes);
    }
    // the edge itself goes in and reads back whole
    ASSERT_TRUE(rec_add("prueba", kRecScoreMax, "ganada", &t, &rank));
    EXPECT_EQ(rank, 0);
    std::string why;
    ASSERT_TRUE(rec_load(file, &t, &why));
    EXPECT_FALSE(t.damaged());
    ASSERT_EQ(t.entries.size(), 2u);
    EXPECT_EQ(scoreAt(t, 0), kRecScoreMax);
}

TEST_F(Records, ATableOfANewerVersionIsNeverRewritten)
{
    ASSERT_EQ(mkdir((home + "/zarkons").c_str(), 0700), 0);
    const std::string nueva =
        std::string("zarkons-records 2\n") + kLinea + "100 otra cosa que no conocemos\n";
    escribir(file, nueva);
    rec_table_t t = rec_parse(nueva.data(), nueva.size());
    EXPECT_EQ(t.newerVersion, 2);
    EXPECT_FALSE(t.damaged());

    int rank = 0;
    testing::internal::CaptureStderr();
    EXPECT_FALSE(rec_add("prueba", 500, "ganada", &t, &rank));
    EXPECT_FALSE(rec_add("prueba", 600, "ganada", &t, &rank));
    // off for the rest of the run, even once the file is gone
    unlink(file.c_str());
    EXPECT_FALSE(rec_add("prueba", 700, "ganada", &t, &rank));
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
    EXPECT_NE(err.find("zarkons-records 2"), std::string::npos) << err;
    EXPECT_TRUE(t.entries.empty());
    EXPECT_EQ(rank, -1);
    EXPECT_FALSE(existe(file));
    EXPECT_FALSE(existe(file + ".damaged"));
}

TEST_F(Records, TheNextWriterRemovesTheTemporaryFilesAKilledOneLeft)
{
    const std::string dir = home + "/zarkons/";
    ASSERT_EQ(mkdir(dir.c_str(), 0700), 0);
    const char* const restos[] = {"prueba.records.aZ09xQ", "prueba.records.000000"};
    // near misses: another table's, other lengths, other characters, a folder
    const char* const ajenos[] = {"otra.records.aZ09xQ",   "prueba.records.aZ09x",
                                  "prueba.records.aZ09xQQ", "prueba.records.aZ-9xQ",
                                  "prueba.records.damaged", "xprueba.records.aZ09xQ"};
    for (const char* n : restos)
        escribir(dir + n, "zarkons-records 1\n");
    for (const char* n : ajenos)
        escribir(dir + n, "x");
    ASSERT_EQ(mkdir((dir + "prueba.records.Carpet").c_str(), 0700), 0);

    rec_table_t t;
    int rank = 0;
    ASSERT_TRUE(rec_add("prueba", 5, "perdida", &t, &rank));
    for (const char* n : restos)
        EXPECT_FALSE(existe(dir + n)) << n;
    for (const char* n : ajenos)
        EXPECT_TRUE(existe(dir + n)) << n;
    EXPECT_TRUE(existe(dir + "prueba.records.Carpet"));
}

// Writers are served in the order they came: with the lock held, A queues,
// then B, then C; when it is let go A goes first, whoever the kernel wakes
// first. And the wait leaves the program's signals as it found them.
TEST_F(Records, WritersAreServedInTheOrderTheyCame)
{
    ASSERT_EQ(mkdir((home + "/zarkons").c_str(), 0700), 0);
    const std::string cerrojo = file + ".lock";
    const std::string orden = home + "/orden";
    const int lfd = open(cerrojo.c_str(), O_RDWR | O_CREAT, 0644);
    ASSERT_GE(lfd, 0);
    ASSERT_TRUE(esperarCerrojo(lfd, kRecLockSeconds));
    // the queue's counter: how many writers have taken a number
    auto enCola = [&] {
        uint64_t n = 0;
        return pread(lfd, &n, sizeof n, 0) == (ssize_t)sizeof n ? n : 0;
    };
    std::vector<pid_t> hijos;
    for (const char* quien : {"A", "B", "C"}) {
        const uint64_t antes = enCola();
        const pid_t pid = fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            close(lfd); // the parent's, or the lock would stay held with it
            const int fd = open(cerrojo.c_str(), O_RDWR | O_CLOEXEC);
            if (fd < 0 || !esperarCerrojo(fd, kRecLockSeconds))
                _exit(1);
            std::ofstream(orden, std::ios::app) << quien;
            struct sigaction ahora = {};
            sigaction(SIGALRM, nullptr, &ahora);
            sigset_t mascara;
            pthread_sigmask(SIG_SETMASK, nullptr, &mascara);
            _exit(ahora.sa_handler != SIG_DFL || sigismember(&mascara, SIGALRM) ? 2 : 0);
        }
        hijos.push_back(pid);
        for (int i = 0; i < 5000 && enCola() == antes; i++)
            usleep(1000);
        ASSERT_GT(enCola(), antes) << quien << " never queued";
    }
    close(lfd);
    for (pid_t h : hijos) {
        int st = 0;
        waitpid(h, &st, 0);
        EXPECT_TRUE(WIFEXITED(st));
        EXPECT_EQ(WEXITSTATUS(st), 0) << "1: gave up, 2: signals changed";
    }
    EXPECT_EQ(leer(orden), "ABC");
}

} // namespace
