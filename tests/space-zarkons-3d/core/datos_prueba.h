// Small stand-in data files for the game core's tests: the three models as
// one coloured square each, a star field and a spark, written into a fresh
// temporary folder so the tests do not depend on the game's art.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace zk
{

// One AC3D model: a two-sided square of half-size s in its x-y plane, glowing
// in its colour so that it shows the same from either side.
inline std::string modeloCuadrado(float s, const char* rgb)
{
    char texto[1024];
    snprintf(texto, sizeof texto,
             "AC3Db\n"
             "MATERIAL \"color\" rgb %s amb %s emis %s spec 0.2 0.2 0.2 shi 10 trans 0\n"
             "OBJECT world\n"
             "kids 1\n"
             "OBJECT poly\n"
             "name \"cuadrado\"\n"
             "numvert 4\n"
             "%g %g 0\n%g %g 0\n%g %g 0\n%g %g 0\n"
             "numsurf 1\n"
             "SURF 0x20\n"
             "mat 0\n"
             "refs 4\n"
             "0 0 0\n1 1 0\n2 1 1\n3 0 1\n"
             "kids 0\n",
             rgb, rgb, rgb, -s, -s, s, -s, s, s, -s, s);
    return texto;
}

// An uncompressed 24-bit TGA; `pixel` gives (r, g, b) for each (x, y).
template <class F> inline std::string imagenTga(int w, int h, F pixel)
{
    std::string t(18, '\0');
    t[2] = 2;
    t[12] = (char)(w & 0xFF);
    t[13] = (char)(w >> 8);
    t[14] = (char)(h & 0xFF);
    t[15] = (char)(h >> 8);
    t[16] = 24;
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++) {
            unsigned char c[3];
            pixel(x, y, c);
            t += (char)c[2]; // stored B, G, R
            t += (char)c[1];
            t += (char)c[0];
        }
    return t;
}

inline void escribir(const std::string& path, const std::string& contenido)
{
    FILE* f = fopen(path.c_str(), "wb");
    if (f) {
        fwrite(contenido.data(), 1, contenido.size(), f);
        fclose(f);
    }
}

// Which data files to leave out, to test their absence.
struct Faltan {
    bool misil = false;
    bool naves = false;
};

// Writes <dir>/data with the five files the game loads; returns <dir>.
inline std::string crearDatosPrueba(Faltan faltan = Faltan())
{
    char plantilla[] = "/tmp/zk-core-XXXXXX";
    const char* d = mkdtemp(plantilla);
    std::string dir = d ? d : "/tmp";
    std::string data = dir + "/data";
    mkdir(data.c_str(), 0755);
    // colours that tell the objects apart on screen
    if (!faltan.naves) {
        escribir(data + "/nave1_chico.ac", modeloCuadrado(3.0f, "0.1 0.9 0.1"));
        escribir(data + "/nave_open.ac", modeloCuadrado(2.0f, "0.9 0.1 0.1"));
    }
    if (!faltan.misil)
        escribir(data + "/Misil_chico.ac", modeloCuadrado(0.5f, "0.9 0.9 0.1"));
    escribir(data + "/Stars.tga", imagenTga(64, 64, [](int x, int y, unsigned char* c) {
                 unsigned char v = (x * 7 + y * 13) % 97 == 0 ? 255 : 0;
                 c[0] = c[1] = c[2] = v;
             }));
    escribir(data + "/spark.tga", imagenTga(16, 16, [](int x, int y, unsigned char* c) {
                 int dx = x - 8, dy = y - 8;
                 int v = 255 - (dx * dx + dy * dy) * 4;
                 c[0] = c[1] = c[2] = (unsigned char)(v < 0 ? 0 : v);
             }));
    return dir;
}

inline void borrarDatosPrueba(const std::string& dir)
{
    if (dir.rfind("/tmp/zk-core-", 0) != 0)
        return;
    for (const char* f : {"nave1_chico.ac", "nave_open.ac", "Misil_chico.ac", "Stars.tga", "spark.tga"})
        unlink((dir + "/data/" + f).c_str());
    rmdir((dir + "/data").c_str());
    rmdir(dir.c_str());
}

// The folder in use, for a test that ends the process (a death test's child)
// before its destructor runs.
inline char* datosPendientes()
{
    static char dir[256];
    return dir;
}

inline void borrarPendientes()
{
    if (datosPendientes()[0] != '\0')
        borrarDatosPrueba(datosPendientes());
}

// Runs a test inside a data folder of its own and goes back afterwards.
class EnDatosPrueba
{
  public:
    explicit EnDatosPrueba(Faltan faltan = Faltan())
    {
        static bool registrado = atexit(borrarPendientes) == 0;
        (void)registrado;
        char previo[4096];
        if (getcwd(previo, sizeof previo))
            anterior = previo;
        dir = crearDatosPrueba(faltan);
        snprintf(datosPendientes(), 256, "%s", dir.c_str());
        if (chdir(dir.c_str()) != 0)
            dir.clear();
    }
    ~EnDatosPrueba()
    {
        if (!anterior.empty() && chdir(anterior.c_str()) != 0)
            perror("chdir");
        borrarDatosPrueba(dir);
        datosPendientes()[0] = '\0';
    }
    const std::string& ruta() const { return dir; }

  private:
    std::string anterior, dir;
};

} // namespace zk
