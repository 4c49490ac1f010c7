// The one promise of a write that fails, at whatever step: the old file is as
// it was and no temporary file is left beside it.
#include "archivo.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <dirent.h>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// The names in a folder, "." and ".." aside, joined by spaces.
std::string nombres(const std::string& dir)
{
    std::string lista;
    DIR* d = opendir(dir.c_str());
    while (const struct dirent* e = d != nullptr ? readdir(d) : nullptr)
        if (std::string(e->d_name) != "." && std::string(e->d_name) != "..")
            lista += std::string(lista.empty() ? "" : " ") + e->d_name;
    if (d != nullptr)
        closedir(d);
    return lista;
}

std::string leer(const std::string& path)
{
    std::string texto, why;
    EXPECT_TRUE(archivo_leer(path, 4096, &texto, &why)) << why;
    return texto;
}

} // namespace

TEST(Archivo, AFailedWriteLeavesTheOldFileAndNoTemporaryFile)
{
    char plantilla[] = "/tmp/zk-archivo-XXXXXX";
    ASSERT_NE(mkdtemp(plantilla), nullptr);
    const std::string dir = plantilla, path = dir + "/tabla";
    std::string tmp;
    ASSERT_EQ(archivo_escribir(path, "viejo\n", &tmp), ARCHIVO_ESCRITO);
    EXPECT_EQ(nombres(dir), "tabla");

    // a child whose files may not pass 10 bytes: the disk "fills" mid-write,
    // and the limit's signal must not end the writer
    const pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        struct rlimit lim = {10, 10};
        setrlimit(RLIMIT_FSIZE, &lim);
        const archivo_paso_t paso = archivo_escribir(path, std::string(100, 'x'), &tmp);
        _exit(paso == ARCHIVO_ESCRITURA && errno == EFBIG ? 0 : 1);
    }
    int st = 0;
    waitpid(pid, &st, 0);
    ASSERT_TRUE(WIFEXITED(st)) << "killed by signal " << WTERMSIG(st);
    EXPECT_EQ(WEXITSTATUS(st), 0) << "the write should have failed at writing, with EFBIG";
    EXPECT_EQ(leer(path), "viejo\n");
    EXPECT_EQ(nombres(dir), "tabla");

    // a folder in the real file's place: the rename fails, the folder stays
    const std::string carpeta = dir + "/carpeta";
    ASSERT_EQ(mkdir(carpeta.c_str(), 0700), 0);
    EXPECT_EQ(archivo_escribir(carpeta, "nuevo\n", &tmp), ARCHIVO_RENOMBRE);
    EXPECT_EQ(errno, EISDIR);
    EXPECT_EQ(tmp.rfind(carpeta + ".", 0), 0u) << tmp;
    EXPECT_EQ(nombres(dir).size(), std::string("tabla carpeta").size()) << nombres(dir);
    EXPECT_EQ(leer(path), "viejo\n");

    // no folder at all: nothing made, nothing left
    EXPECT_EQ(archivo_escribir(dir + "/falta/tabla", "nuevo\n", &tmp), ARCHIVO_TEMPORAL);
    EXPECT_EQ(errno, ENOENT);

    rmdir(carpeta.c_str());
    unlink(path.c_str());
    EXPECT_EQ(rmdir(dir.c_str()), 0) << "left behind: " << nombres(dir);
}
