// Reading and writing the small files the games keep between runs.
#include "archivo.h"

#include <cassert>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

static std::string fallo(const char* what, const std::string& path)
{
    return std::string(what) + " " + path + ": " + strerror(errno);
}

bool archivo_crear_carpetas(const std::string& dir, std::string* why)
{
    assert(why != nullptr);
    for (size_t i = 1; i <= dir.size(); i++) {
        if (i < dir.size() && dir[i] != '/')
            continue;
        const std::string parte = dir.substr(0, i);
        if (mkdir(parte.c_str(), 0700) != 0 && errno != EEXIST) {
            *why = fallo("cannot create", parte);
            return false;
        }
    }
    return true;
}

bool archivo_leer(const std::string& path, size_t max, std::string* texto, std::string* why)
{
    assert(texto != nullptr && why != nullptr);
    texto->clear();
    // non-blocking, so that a FIFO in the file's place cannot stop the game
    const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT)
            return true;
        *why = fallo("cannot read", path);
        return false;
    }
    struct stat st;
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        close(fd);
        *why = path + " is not a regular file";
        return false;
    }
    texto->resize(max);
    size_t leido = 0;
    while (leido < max) {
        const ssize_t r = read(fd, &(*texto)[leido], max - leido);
        if (r < 0 && errno == EINTR)
            continue;
        if (r < 0) {
            *why = fallo("cannot read", path);
            close(fd);
            texto->clear();
            return false;
        }
        if (r == 0)
            break;
        leido += (size_t)r;
    }
    close(fd);
    texto->resize(leido);
    return true;
}

bool archivo_escribir_todo(int fd, const std::string& s)
{
    size_t hecho = 0;
    while (hecho < s.size()) {
        const ssize_t r = write(fd, s.data() + hecho, s.size() - hecho);
        if (r < 0 && errno == EINTR)
            continue;
        if (r <= 0)
            return false;
        hecho += (size_t)r;
    }
    return true;
}

// Gives up a temporary file, keeping the errno of the step that failed.
static archivo_paso_t deshacer(const std::string& tmp, archivo_paso_t paso)
{
    const int err = errno;
    unlink(tmp.c_str());
    errno = err;
    return paso;
}

archivo_paso_t archivo_escribir(const std::string& path, const std::string& texto, std::string* tmp)
{
    assert(tmp != nullptr);
    *tmp = path + ".XXXXXX";
    const int fd = mkostemp(&(*tmp)[0], O_CLOEXEC);
    if (fd < 0)
        return ARCHIVO_TEMPORAL;
    // past a file-size limit the write must fail, not kill the game
    struct sigaction ignorar = {}, antes = {};
    ignorar.sa_handler = SIG_IGN;
    sigaction(SIGXFSZ, &ignorar, &antes);
    const bool ok = fchmod(fd, 0644) == 0 && archivo_escribir_todo(fd, texto) && fsync(fd) == 0;
    sigaction(SIGXFSZ, &antes, nullptr);
    if (!ok) {
        const int err = errno;
        close(fd);
        errno = err;
        return deshacer(*tmp, ARCHIVO_ESCRITURA);
    }
    if (close(fd) != 0)
        return deshacer(*tmp, ARCHIVO_CIERRE);
    if (rename(tmp->c_str(), path.c_str()) != 0)
        return deshacer(*tmp, ARCHIVO_RENOMBRE);
    // the rename itself lives in the folder: sync it too
    const size_t barra = path.rfind('/');
    const std::string dir = barra == std::string::npos ? "." : path.substr(0, barra);
    const int dfd = open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dfd >= 0) {
        fsync(dfd);
        close(dfd);
    }
    return ARCHIVO_ESCRITO;
}
