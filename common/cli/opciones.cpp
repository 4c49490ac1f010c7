// The command-line options every program of the project answers itself.
#include "opciones.h"

#include <cassert>
#include <cerrno>
#include <cstdio>
#include <cstring>

const char* zkVersion()
{
    return ZK_VERSION;
}

int responderOpciones(int argc, char* const* argv, const char* nombre, const char* ayuda)
{
    assert(nombre != nullptr && ayuda != nullptr);
    assert(argc <= 1 || argv != nullptr);
    for (int i = 1; i < argc && argv[i] != nullptr; i++) {
        const bool ayudaPedida = strcmp(argv[i], "--help") == 0;
        if (!ayudaPedida && strcmp(argv[i], "--version") != 0)
            continue;
        errno = 0;
        if (ayudaPedida)
            fputs(ayuda, stdout);
        else
            printf("%s %s\n", nombre, zkVersion());
        // a full disk or a closed pipe must not pass for an answer
        if (fflush(stdout) != 0 || ferror(stdout)) {
            fprintf(stderr, "%s: cannot write to standard output: %s\n", nombre,
                    errno != 0 ? strerror(errno) : "write error");
            return 1;
        }
        return 0;
    }
    return -1;
}
