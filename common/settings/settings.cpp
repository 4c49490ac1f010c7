// Settings kept between runs: a few key=value lines, read forgivingly of
// nothing (a damaged file is the defaults) and written all or not at all.
#include "settings.h"

#include "archivo.h"

#include <cassert>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

// The game whose settings were loaded, and what they are now.
static std::string juego;
static zk_settings_t actuales;
// One line of stderr a run is enough to say settings are not kept.
static bool avisado = false;

static void avisar(const std::string& msg)
{
    if (avisado)
        return;
    avisado = true;
    fprintf(stderr, "%s: %s; settings are the defaults\n", juego.c_str(), msg.c_str());
}

static std::string fallo(const char* what, const std::string& path)
{
    return std::string(what) + " " + path + ": " + strerror(errno);
}

bool zk_settings_path(const char* game, std::string* path, std::string* why)
{
    assert(game != nullptr && path != nullptr && why != nullptr);
    const char* xdg = getenv("XDG_CONFIG_HOME");
    const char* home = getenv("HOME");
    std::string base;
    // a relative XDG_CONFIG_HOME is invalid and is ignored, as the desktops do
    if (xdg != nullptr && xdg[0] == '/')
        base = xdg;
    else if (home != nullptr && home[0] == '/')
        base = std::string(home) + "/.config";
    else {
        *why = "neither XDG_CONFIG_HOME nor HOME names a folder";
        return false;
    }
    *path = base + "/zarkons/" + game + ".conf";
    return true;
}

static bool leerSiNo(const std::string& valor, bool* out)
{
    if (valor == "on" || valor == "off") {
        *out = valor == "on";
        return true;
    }
    return false;
}

bool zk_settings_parse(const char* text, size_t size, zk_settings_t* out, std::string* why)
{
    assert((text != nullptr || size == 0) && out != nullptr && why != nullptr);
    *out = zk_settings_t();
    if (size > kSettingsMaxBytes) {
        *why = "too big";
        return false;
    }
    zk_settings_t leidos;
    int numero = 0;
    size_t inicio = 0;
    while (inicio < size) {
        const char* nl = (const char*)memchr(text + inicio, '\n', size - inicio);
        const size_t fin = nl != nullptr ? (size_t)(nl - text) : size;
        std::string linea(text + inicio, fin - inicio);
        inicio = fin + 1;
        numero++;
        if (!linea.empty() && linea.back() == '\r')
            linea.pop_back();
        if (linea.empty() || linea[0] == '#')
            continue;
        const size_t igual = linea.find('=');
        const std::string clave = linea.substr(0, igual);
        const bool claveBuena = !clave.empty() && clave.find_first_not_of("abcdefghijklmnopqrstuvwxyz_-") ==
                                                      std::string::npos;
        const std::string valor = igual == std::string::npos ? "" : linea.substr(igual + 1);
        bool bien = igual != std::string::npos && claveBuena;
        if (bien && clave == "sound")
            bien = leerSiNo(valor, &leidos.sound);
        else if (bien && clave == "fullscreen")
            bien = leerSiNo(valor, &leidos.fullscreen);
        // any other key of the right shape is a later version's: passed over
        if (!bien || valor.find('\0') != std::string::npos) {
            *why = "line " + std::to_string(numero) + " is not a setting";
            return false;
        }
    }
    *out = leidos;
    return true;
}

std::string zk_settings_format(const zk_settings_t& s)
{
    return std::string("# Zarkons: settings kept between runs\n") + "sound=" + (s.sound ? "on" : "off") +
           "\nfullscreen=" + (s.fullscreen ? "on" : "off") + "\n";
}

zk_settings_t zk_settings_load(const char* game)
{
    assert(game != nullptr);
    juego = game;
    actuales = zk_settings_t();
    std::string path, why, texto;
    if (!zk_settings_path(game, &path, &why) || !archivo_leer(path, kSettingsMaxBytes + 1, &texto, &why)) {
        avisar(why);
        return actuales;
    }
    zk_settings_t leidos;
    if (!zk_settings_parse(texto.data(), texto.size(), &leidos, &why))
        avisar(path + " is damaged (" + why + ")");
    else
        actuales = leidos;
    return actuales;
}

// A temporary file beside the real one, synced, then renamed over it.
static bool escribirAtomico(const std::string& path, const std::string& texto, std::string* why)
{
    const std::string dir = path.substr(0, path.rfind('/'));
    if (!archivo_crear_carpetas(dir, why))
        return false;
    std::string tmp;
    switch (archivo_escribir(path, texto, &tmp)) {
    case ARCHIVO_ESCRITO:
        return true;
    case ARCHIVO_TEMPORAL:
        *why = fallo("cannot write in", dir);
        break;
    case ARCHIVO_ESCRITURA:
    case ARCHIVO_CIERRE:
        *why = fallo("cannot write", tmp);
        break;
    case ARCHIVO_RENOMBRE:
        *why = fallo("cannot replace", path);
        break;
    }
    return false;
}

static void guardar(const zk_settings_t& nuevos)
{
    // nothing loaded (a test of the game's parts): nothing to keep
    if (juego.empty())
        return;
    if (nuevos.sound == actuales.sound && nuevos.fullscreen == actuales.fullscreen)
        return;
    actuales = nuevos;
    std::string path, why;
    if (!zk_settings_path(juego.c_str(), &path, &why) ||
        !escribirAtomico(path, zk_settings_format(actuales), &why))
        avisar(why);
}

void zk_settings_set_sound(bool on)
{
    zk_settings_t nuevos = actuales;
    nuevos.sound = on;
    guardar(nuevos);
}

void zk_settings_set_fullscreen(bool on)
{
    zk_settings_t nuevos = actuales;
    nuevos.fullscreen = on;
    guardar(nuevos);
}
