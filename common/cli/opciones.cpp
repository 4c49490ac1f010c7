// The command-line options every program of the project answers itself.
#include "opciones.h"

#include <cassert>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <getopt.h>
#include <string>
#include <vector>

static const char* const kVersionTexto =
    "Copyright (C) 2026 The Zarkons developers\n"
    "License MIT: <https://opensource.org/licenses/MIT>\n"
    "This is free software: you are free to change and redistribute it.\n"
    "There is NO WARRANTY, to the extent permitted by law.\n";

const char* zkVersion()
{
    return ZK_VERSION;
}

// Prints the answer to --help or --version; the status to end with.
static int responder(bool ayudaPedida, const char* nombre, const char* ayuda)
{
    errno = 0;
    if (ayudaPedida)
        fputs(ayuda, stdout);
    else
        printf("%s %s\n%s", nombre, zkVersion(), kVersionTexto);
    // a full disk or a closed pipe must not pass for an answer
    if (fflush(stdout) != 0 || ferror(stdout)) {
        fprintf(stderr, "%s: cannot write to standard output: %s\n", nombre,
                errno != 0 ? strerror(errno) : "write error");
        return 1;
    }
    return 0;
}

int responderOpciones(int argc, char* const* argv, const char* nombre, const char* ayuda)
{
    assert(nombre != nullptr && ayuda != nullptr);
    assert(argc <= 1 || argv != nullptr);
    for (int i = 1; i < argc && argv[i] != nullptr; i++) {
        const bool ayudaPedida = strcmp(argv[i], "--help") == 0;
        if (ayudaPedida || strcmp(argv[i], "--version") == 0)
            return responder(ayudaPedida, nombre, ayuda);
    }
    return -1;
}

// An optional sign-free number of digits at *p; false if there is none.
static bool digitos(const char** p)
{
    const char* inicio = *p;
    while (isdigit((unsigned char)**p))
        (*p)++;
    return *p > inicio;
}

bool leerGeometria(const char* texto, bool* tamano, bool* posicion)
{
    assert(texto != nullptr && tamano != nullptr && posicion != nullptr);
    const char* p = texto;
    if (*p == '=')
        p++;
    *tamano = false;
    *posicion = false;
    if (isdigit((unsigned char)*p)) {
        if (!digitos(&p) || *p != 'x')
            return false;
        p++;
        if (!digitos(&p))
            return false;
        *tamano = true;
    }
    if (*p == '+' || *p == '-') {
        p++;
        if (!digitos(&p) || (*p != '+' && *p != '-'))
            return false;
        p++;
        if (!digitos(&p))
            return false;
        *posicion = true;
    }
    return *p == '\0' && (*tamano || *posicion);
}

// The usage line of the help, and where the rest is; after a refusal.
static int rehusar(const char* nombre, const char* ayuda)
{
    const char* fin = strchr(ayuda, '\n');
    const int largo = fin != nullptr ? (int)(fin - ayuda) : (int)strlen(ayuda);
    fprintf(stderr, "%.*s\nTry '%s --help' for more information.\n", largo, ayuda, nombre);
    return 2;
}

// GLUT's options: their name and whether a value follows.
struct OpcionGlut {
    const char* nombre;
    bool conValor;
};
static const OpcionGlut kOpcionesGlut[] = {
    {"-display", true}, {"-geometry", true}, {"-gldebug", false}, {"-direct", false},
    {"-indirect", false}, {"-iconic", false}, {"-sync", false},
};

static const OpcionGlut* opcionGlut(const char* arg)
{
    for (const OpcionGlut& o : kOpcionesGlut)
        if (strcmp(arg, o.nombre) == 0)
            return &o;
    return nullptr;
}

int leerOpciones(int* argc, char** argv, const char* nombre, const char* ayuda, zk_opciones_t* opciones)
{
    assert(argc != nullptr && nombre != nullptr && ayuda != nullptr && opciones != nullptr);
    assert(*argc <= 1 || argv != nullptr);
    *opciones = zk_opciones_t();
    // GLUT's options first, word for word as GLUT reads them; the rest is ours
    std::vector<char*> glut, propias;
    glut.push_back(*argc > 0 ? argv[0] : const_cast<char*>(nombre));
    propias.push_back(const_cast<char*>(nombre)); // getopt names the program from it
    bool soloOperandos = false;
    for (int i = 1; i < *argc; i++) {
        const OpcionGlut* o = soloOperandos ? nullptr : opcionGlut(argv[i]);
        if (strcmp(argv[i], "--") == 0)
            soloOperandos = true;
        if (o == nullptr) {
            propias.push_back(argv[i]);
            continue;
        }
        glut.push_back(argv[i]);
        if (!o->conValor)
            continue;
        if (i + 1 >= *argc) {
            fprintf(stderr, "%s: option '%s' requires an argument\n", nombre, o->nombre);
            return rehusar(nombre, ayuda);
        }
        glut.push_back(argv[++i]);
        if (strcmp(o->nombre, "-geometry") == 0 &&
            !leerGeometria(argv[i], &opciones->tamano, &opciones->posicion)) {
            fprintf(stderr, "%s: invalid geometry '%s' (WIDTHxHEIGHT+X+Y)\n", nombre, argv[i]);
            return rehusar(nombre, ayuda);
        }
    }

    static const struct option kLargas[] = {
        {"help", no_argument, nullptr, 'h'},
        {"version", no_argument, nullptr, 'v'},
        {"mute", no_argument, nullptr, 'm'},
        {"fullscreen", no_argument, nullptr, 'f'},
        {nullptr, 0, nullptr, 0},
    };
    const int n = (int)propias.size();
    propias.push_back(nullptr);
    // getopt keeps its place between calls: start it over every time
    optind = 0;
    opterr = 1;
    int c;
    // '+': stop at the first operand, which is refused below
    while ((c = getopt_long(n, propias.data(), "+", kLargas, nullptr)) != -1) {
        switch (c) {
        case 'h':
        case 'v':
            return responder(c == 'h', nombre, ayuda);
        case 'm':
            opciones->mudo = true;
            break;
        case 'f':
            opciones->pantallaCompleta = true;
            break;
        default: // getopt has named the option on stderr
            return rehusar(nombre, ayuda);
        }
    }
    if (optind < n) {
        fprintf(stderr, "%s: unexpected argument '%s'\n", nombre, propias[optind]);
        return rehusar(nombre, ayuda);
    }
    // glut holds at most what argv held, so it fits in its place
    if (*argc > 0) {
        for (size_t i = 0; i < glut.size(); i++)
            argv[i] = glut[i];
        *argc = (int)glut.size();
        argv[*argc] = nullptr;
    }
    return -1;
}
