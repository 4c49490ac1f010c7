// Small data files for the scene tests: a temporary folder with a data/
// subfolder, made the working directory while the object lives, holding tiny
// AC3D models, TGA images and RAW files written on demand.
#pragma once

#include "gl_test.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace zk {

// True when a captured vertex lies at (x, y, z) of the capture's starting space.
inline bool hayVertice(const std::vector<FbVertex>& v, double x, double y, double z,
                       double tol = 1e-3)
{
    for (const FbVertex& p : v)
        if (std::fabs(p.ox - x) < tol && std::fabs(p.oy - y) < tol && std::fabs(p.oz - z) < tol)
            return true;
    return false;
}

// Each model is one two-sided triangle of its own size, so a capture tells them apart:
// the missile's legs are 1 long, the enemy ship's 2, the player ship's 3.
inline std::string modeloTriangulo(const char* nombre, float lado)
{
    char texto[512];
    snprintf(texto, sizeof texto,
             "AC3Db\n"
             "MATERIAL \"m\" rgb 1 1 1  amb 0.2 0.2 0.2  emis 0 0 0  spec 0 0 0  shi 10  trans 0\n"
             "OBJECT world\n"
             "kids 1\n"
             "OBJECT poly\n"
             "name \"%s\"\n"
             "numvert 3\n"
             "0 0 0\n"
             "%g 0 0\n"
             "0 %g 0\n"
             "numsurf 1\n"
             "SURF 0x20\n"
             "mat 0\n"
             "refs 3\n"
             "0 0 0\n"
             "1 1 0\n"
             "2 0 1\n"
             "kids 0\n",
             nombre, lado, lado);
    return texto;
}

static const float kLadoMisil = 1.0f, kLadoNaveOpen = 2.0f, kLadoNave1 = 3.0f;

// An uncompressed true-colour TGA; `rgba` holds the pixels bottom row first,
// 3 or 4 bytes each in R, G, B[, A] order.
inline std::string imagenTga(int ancho, int alto, int canales, const std::vector<uint8_t>& rgba)
{
    std::string s(18, '\0');
    s[2] = 2;
    s[12] = (char)(ancho & 0xFF);
    s[13] = (char)(ancho >> 8);
    s[14] = (char)(alto & 0xFF);
    s[15] = (char)(alto >> 8);
    s[16] = (char)(canales * 8);
    s[17] = canales == 4 ? 8 : 0;
    for (int i = 0; i < ancho * alto; i++) {
        const uint8_t* p = &rgba[(size_t)i * canales];
        s += (char)p[2];
        s += (char)p[1];
        s += (char)p[0];
        if (canales == 4)
            s += (char)p[3];
    }
    return s;
}

class CarpetaDatos {
public:
    CarpetaDatos()
    {
        char plantilla[] = "/tmp/zk-escena-XXXXXX";
        const char* d = mkdtemp(plantilla);
        EXPECT_NE(d, nullptr);
        raiz = d ? d : "/tmp";
        char cwd[4096];
        anterior = getcwd(cwd, sizeof cwd) ? cwd : ".";
        EXPECT_EQ(mkdir((raiz + "/data").c_str(), 0700), 0);
        EXPECT_EQ(chdir(raiz.c_str()), 0);
    }

    ~CarpetaDatos() { limpiar(); }

    // Goes back to the earlier working directory and removes the folder.
    // Also for a process that leaves through exit, where no destructor runs.
    void limpiar()
    {
        if (raiz.empty())
            return;
        if (chdir(anterior.c_str()) != 0)
            ADD_FAILURE() << "cannot go back to " << anterior;
        for (const std::string& f : archivos)
            std::remove(f.c_str());
        rmdir((raiz + "/data").c_str());
        rmdir(raiz.c_str());
        raiz.clear();
    }

    // Writes data/<nombre> with these bytes.
    void escribir(const std::string& nombre, const std::string& bytes)
    {
        const std::string ruta = raiz + "/data/" + nombre;
        std::ofstream f(ruta, std::ios::binary);
        f << bytes;
        archivos.push_back(ruta);
    }

    void borrar(const std::string& nombre) { std::remove((raiz + "/data/" + nombre).c_str()); }

    void modelos()
    {
        escribir("Misil_chico.ac", modeloTriangulo("misil", kLadoMisil));
        escribir("nave_open.ac", modeloTriangulo("invasor", kLadoNaveOpen));
        escribir("nave1_chico.ac", modeloTriangulo("nave", kLadoNave1));
    }

    // A white 2 x 2 spark whose alpha fades toward one corner.
    void chispa()
    {
        escribir("spark.tga", imagenTga(2, 2, 4, {255, 255, 255, 255, 255, 255, 255, 128,
                                                  255, 255, 255, 128, 255, 255, 255, 0}));
    }

    // Everything the ships and shots need.
    void todo()
    {
        modelos();
        chispa();
    }

private:
    std::string raiz, anterior;
    std::vector<std::string> archivos;
};

} // namespace zk
