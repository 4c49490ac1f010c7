// The catalogue's lookup, and drawn Latin-1 made fit for the terminal.
#include "idioma.h"

#include <libintl.h>
#include <langinfo.h>
#include <unistd.h>

#include <cassert>
#include <clocale>
#include <cstdarg>
#include <cstring>
#include <string>
#include <sys/stat.h>

static const char* const kDominio = "zarkons";

// Where the catalogues are: beside the installed program (its folder and the
// way from it to share/locale are known when it is built), or else in the
// build folder, for a game run where it was built.
static std::string carpetaCatalogos()
{
#ifdef ZK_LOCALEDIR_DESDE_PROGRAMA
    const char* desde = ZK_LOCALEDIR_DESDE_PROGRAMA;
    if (desde[0] == '/')
        return desde;
    char ruta[4096];
    const ssize_t n = readlink("/proc/self/exe", ruta, sizeof ruta - 1);
    if (n > 0) {
        ruta[n] = '\0';
        std::string carpeta(ruta);
        carpeta = carpeta.substr(0, carpeta.rfind('/') + 1) + desde;
        struct stat st;
        if (stat(carpeta.c_str(), &st) == 0 && S_ISDIR(st.st_mode))
            return carpeta;
    }
#endif
    return ZK_LOCALEDIR_COMPILACION;
}

void zk_idioma_iniciar()
{
    setlocale(LC_ALL, "");
    setlocale(LC_NUMERIC, "C");
    bindtextdomain(kDominio, carpetaCatalogos().c_str());
    bind_textdomain_codeset(kDominio, "ISO-8859-1");
    textdomain(kDominio);
}

const char* zk_tr(const char* texto)
{
    assert(texto != nullptr);
    return dgettext(kDominio, texto);
}

const char* zk_trc(const char* contexto, const char* texto)
{
    assert(contexto != nullptr && texto != nullptr);
    // the catalogue keys such a text as "context\004text"
    const std::string clave = std::string(contexto) + '\004' + texto;
    const char* t = dgettext(kDominio, clave.c_str());
    return t == clave.c_str() || strcmp(t, clave.c_str()) == 0 ? texto : t;
}

std::string zk_impreso(const char* latin1)
{
    assert(latin1 != nullptr);
    const char* juego = nl_langinfo(CODESET);
    if (strcmp(juego, "UTF-8") != 0)
        return latin1;
    std::string s;
    for (const unsigned char* p = (const unsigned char*)latin1; *p != 0; p++) {
        if (*p < 0x80) {
            s += (char)*p;
        } else {
            s += (char)(0xC0 | (*p >> 6));
            s += (char)(0x80 | (*p & 0x3F));
        }
    }
    return s;
}

void zk_decir(FILE* f, const char* formato, ...)
{
    assert(f != nullptr && formato != nullptr);
    char linea[1024];
    va_list args;
    va_start(args, formato);
    vsnprintf(linea, sizeof linea, formato, args);
    va_end(args);
    fputs(zk_impreso(linea).c_str(), f);
}
