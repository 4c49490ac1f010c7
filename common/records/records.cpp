// Best-score tables: reading that survives any junk, writing that never
// leaves half a file, and a lock so that two games ending together both count.
#include "records.h"

#include "archivo.h"
#include "cerrojo.h"

#include <algorithm>
#include <cassert>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

static const char* const kHeader = "zarkons-records 1";
static const char* const kFormato = "zarkons-records ";
static const int kVersion = 1;
static const size_t kMaxHow = 24;
// the suffix mkostemp puts after "<name>.records."
static const size_t kSufijoTemporal = 6;

// One line of stderr per program run is enough to say records are off.
static bool avisado = false;
// A newer table was found: this run leaves it alone from then on.
static bool apagados = false;

static void avisar(const std::string& msg)
{
    if (avisado)
        return;
    avisado = true;
    fprintf(stderr, "zarkons: records are off: %s\n", msg.c_str());
}

static std::string errorDe(const std::string& what, const std::string& path)
{
    return what + " " + path + ": " + strerror(errno);
}

static bool digitos(const char* s, size_t n)
{
    for (size_t i = 0; i < n; i++)
        if (s[i] < '0' || s[i] > '9')
            return false;
    return true;
}

static long numero(const char* s, size_t n)
{
    long v = 0;
    for (size_t i = 0; i < n; i++)
        v = v * 10 + (s[i] - '0');
    return v;
}

// YYYY-MM-DDTHH:MM:SS with every field in its range.
static bool fechaValida(const char* s, size_t n)
{
    if (n != 19 || s[4] != '-' || s[7] != '-' || s[10] != 'T' || s[13] != ':' || s[16] != ':')
        return false;
    const int campos[6][2] = {{0, 4}, {5, 2}, {8, 2}, {11, 2}, {14, 2}, {17, 2}};
    const int maximos[6] = {9999, 12, 31, 23, 59, 60};
    for (int i = 0; i < 6; i++) {
        if (!digitos(s + campos[i][0], (size_t)campos[i][1]))
            return false;
        const long v = numero(s + campos[i][0], (size_t)campos[i][1]);
        if (v > maximos[i] || ((i == 1 || i == 2) && v == 0))
            return false;
    }
    return true;
}

static bool comoValido(const char* s, size_t n)
{
    if (n == 0 || n > kMaxHow)
        return false;
    for (size_t i = 0; i < n; i++) {
        const char c = s[i];
        if (!((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-'))
            return false;
    }
    return true;
}

// "<score> <when> <how>", single spaces, nothing else.
static bool leerLinea(const char* s, size_t n, rec_entry_t* e)
{
    const char* fin = s + n;
    const char* a = (const char*)memchr(s, ' ', n);
    if (a == nullptr)
        return false;
    const char* b = (const char*)memchr(a + 1, ' ', (size_t)(fin - a - 1));
    if (b == nullptr)
        return false;
    const char* num = s;
    size_t largo = (size_t)(a - s);
    const bool negativo = largo > 0 && num[0] == '-';
    if (negativo) {
        num++;
        largo--;
    }
    // ten digits at most: every score a game can reach, and no overflow here
    if (largo == 0 || largo > 10 || !digitos(num, largo))
        return false;
    const long v = numero(num, largo);
    if (v > kRecScoreMax || !fechaValida(a + 1, (size_t)(b - a - 1)) ||
        !comoValido(b + 1, (size_t)(fin - b - 1)))
        return false;
    e->score = negativo ? -v : v;
    e->when.assign(a + 1, (size_t)(b - a - 1));
    e->how.assign(b + 1, (size_t)(fin - b - 1));
    return true;
}

static void ordenar(rec_table_t* t)
{
    // stable: of equal scores the one already ahead (the older) stays ahead
    std::stable_sort(t->entries.begin(), t->entries.end(),
                     [](const rec_entry_t& x, const rec_entry_t& y) { return x.score > y.score; });
    if (t->entries.size() > (size_t)kRecMax)
        t->entries.resize((size_t)kRecMax);
}

static bool crearCarpetas(const std::string& dir, std::string* why)
{
    if (!archivo_crear_carpetas(dir, why))
        return false;
    struct stat st;
    if (stat(dir.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) {
        errno = ENOTDIR;
        *why = errorDe("cannot use", dir);
        return false;
    }
    return true;
}

// Keeps the damaged file for the player: a second name for the same file
// (free, whatever its size), or else a copy of what we read of it.
static void apartar(const std::string& path)
{
    const std::string copia = path + ".damaged";
    unlink(copia.c_str());
    if (link(path.c_str(), copia.c_str()) == 0)
        return;
    FILE* in = fopen(path.c_str(), "rb");
    if (in == nullptr)
        return;
    std::string texto(kRecMaxBytes, '\0');
    texto.resize(fread(&texto[0], 1, kRecMaxBytes, in));
    fclose(in);
    const int fd = open(copia.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd >= 0) {
        archivo_escribir_todo(fd, texto);
        close(fd);
    }
}

// Removes the temporary files of this table that a killed writer left
// ("<name>.records.XXXXXX", exactly): safe only under the lock, since the
// writer that makes one holds it.
static void limpiarRestos(const std::string& path)
{
    const size_t barra = path.rfind('/');
    const std::string dir = path.substr(0, barra);
    const std::string prefijo = path.substr(barra + 1) + ".";
    DIR* d = opendir(dir.c_str());
    if (d == nullptr)
        return;
    while (const struct dirent* e = readdir(d)) {
        const size_t n = strlen(e->d_name);
        if (n != prefijo.size() + kSufijoTemporal ||
            strncmp(e->d_name, prefijo.c_str(), prefijo.size()) != 0)
            continue;
        bool nuestro = true;
        for (size_t i = prefijo.size(); i < n; i++) {
            const char c = e->d_name[i];
            nuestro = nuestro && ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'));
        }
        struct stat st;
        if (nuestro && fstatat(dirfd(d), e->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(st.st_mode))
            unlinkat(dirfd(d), e->d_name, 0);
    }
    closedir(d);
}

bool rec_path(const char* game, std::string* path, std::string* why)
{
    assert(game != nullptr && path != nullptr && why != nullptr);
    std::string base;
    const char* xdg = getenv("XDG_DATA_HOME");
    const char* home = getenv("HOME");
    // a relative XDG_DATA_HOME is invalid and is ignored, as the desktops do
    if (xdg != nullptr && xdg[0] == '/') {
        base = xdg;
    } else if (home != nullptr && home[0] == '/') {
        base = std::string(home) + "/.local/share";
    } else {
        *why = "neither XDG_DATA_HOME nor HOME names a folder";
        return false;
    }
    *path = base + "/zarkons/" + game + ".records";
    return true;
}

rec_table_t rec_parse(const char* text, size_t size)
{
    assert(text != nullptr || size == 0);
    rec_table_t t;
    if (size > kRecMaxBytes) {
        t.truncated = true;
        size = kRecMaxBytes;
    }
    size_t inicio = 0;
    bool primera = true;
    while (inicio < size) {
        const char* nl = (const char*)memchr(text + inicio, '\n', size - inicio);
        // a cut-off last line of a truncated file is not judged
        if (nl == nullptr && t.truncated)
            break;
        const size_t fin = nl ? (size_t)(nl - text) : size;
        size_t n = fin - inicio;
        const char* linea = text + inicio;
        inicio = fin + 1;
        if (n > 0 && linea[n - 1] == '\r')
            n--;
        if (n == 0)
            continue;
        if (primera) {
            primera = false;
            if (n == strlen(kHeader) && memcmp(linea, kHeader, n) == 0)
                continue;
            // a later version of the format: what its lines mean is not ours to say
            const size_t nf = strlen(kFormato);
            if (n > nf && n <= nf + 9 && memcmp(linea, kFormato, nf) == 0 &&
                digitos(linea + nf, n - nf) && numero(linea + nf, n - nf) > kVersion) {
                t.newerVersion = (int)numero(linea + nf, n - nf);
                return t;
            }
            // no header: a foreign file, yet its lines may still be ours
            t.badHeader = true;
        }
        rec_entry_t e;
        if (n <= kRecMaxLine && leerLinea(linea, n, &e))
            t.entries.push_back(e);
        else
            t.badLines++;
    }
    ordenar(&t);
    return t;
}

std::string rec_format(const rec_table_t& table)
{
    std::string s = std::string(kHeader) + "\n";
    for (const rec_entry_t& e : table.entries)
        s += std::to_string(e.score) + " " + e.when + " " + e.how + "\n";
    return s;
}

bool rec_load(const std::string& path, rec_table_t* table, std::string* why)
{
    assert(table != nullptr && why != nullptr);
    *table = rec_table_t();
    // one byte more than we look at tells a too-big file apart
    std::string texto;
    if (!archivo_leer(path, kRecMaxBytes + 1, &texto, why))
        return false;
    *table = rec_parse(texto.data(), texto.size());
    return true;
}

bool rec_save(const std::string& path, const rec_table_t& table, std::string* why)
{
    assert(why != nullptr);
    std::string tmp;
    switch (archivo_escribir(path, rec_format(table), &tmp)) {
    case ARCHIVO_ESCRITO:
        return true;
    case ARCHIVO_TEMPORAL:
        *why = errorDe("cannot write in the folder of", path);
        break;
    case ARCHIVO_ESCRITURA:
        *why = errorDe("cannot write", tmp);
        break;
    case ARCHIVO_CIERRE:
    case ARCHIVO_RENOMBRE:
        *why = errorDe("cannot replace", path);
        break;
    }
    return false;
}

int rec_rank(const rec_table_t& table, long score)
{
    if (score <= 0)
        return -1;
    size_t i = 0;
    while (i < table.entries.size() && table.entries[i].score >= score)
        i++;
    return i < (size_t)kRecMax ? (int)i : -1;
}

bool rec_add(const char* game, long score, const char* how, rec_table_t* table, int* rank)
{
    assert(game != nullptr && how != nullptr && table != nullptr && rank != nullptr);
    assert(comoValido(how, strlen(how)));
    *table = rec_table_t();
    *rank = -1;
    if (apagados)
        return false;
    if (score > kRecScoreMax || score < -kRecScoreMax) {
        fprintf(stderr, "zarkons: the score %ld is beyond what a records file holds; it is not recorded\n",
                score);
        return false;
    }
    std::string path, why;
    if (!rec_path(game, &path, &why)) {
        avisar(why);
        return false;
    }
    if (!crearCarpetas(path.substr(0, path.rfind('/')), &why)) {
        avisar(why);
        return false;
    }
    const std::string cerrojo = path + ".lock";
    const int lfd = open(cerrojo.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (lfd < 0) {
        avisar(errorDe("cannot open", cerrojo));
        return false;
    }
    if (!esperarCerrojo(lfd, kRecLockSeconds)) {
        avisar("another game holds " + cerrojo + " too long");
        close(lfd);
        return false;
    }

    limpiarRestos(path);
    bool ok = rec_load(path, table, &why);
    if (ok && table->newerVersion > 0) {
        close(lfd);
        apagados = true;
        avisar(path + " is of a newer version (" + kFormato + std::to_string(table->newerVersion) +
               "); it is left as it is");
        *table = rec_table_t();
        return false;
    }
    if (ok && table->damaged()) {
        apartar(path);
        fprintf(stderr, "zarkons: %s was damaged (%d bad lines%s%s); its good records are kept, "
                        "the old file is in %s.damaged\n",
                path.c_str(), table->badLines, table->badHeader ? ", no header" : "",
                table->truncated ? ", too big" : "", path.c_str());
    }
    if (ok) {
        // games of zero or below, kept by older versions, are no records
        const size_t antes = table->entries.size();
        table->entries.erase(std::remove_if(table->entries.begin(), table->entries.end(),
                                            [](const rec_entry_t& e) { return e.score <= 0; }),
                             table->entries.end());
        const bool quitados = table->entries.size() != antes;
        *rank = rec_rank(*table, score);
        if (*rank >= 0) {
            table->entries.insert(table->entries.begin() + *rank, rec_entry_t{score, rec_now(), how});
            ordenar(table);
        }
        if (*rank >= 0 || quitados || table->damaged())
            ok = rec_save(path, *table, &why);
    }
    table->badLines = 0;
    table->badHeader = false;
    table->truncated = false;
    close(lfd); // and the lock goes with it
    if (!ok) {
        avisar(why);
        *rank = -1;
    }
    return ok;
}

std::string rec_now()
{
    const time_t t = time(nullptr);
    struct tm local;
    char s[32] = "1970-01-01T00:00:00";
    if (localtime_r(&t, &local) != nullptr)
        strftime(s, sizeof s, "%Y-%m-%dT%H:%M:%S", &local);
    return s;
}
