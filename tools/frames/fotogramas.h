// Shared by the two frame-capture programs: the window and the writing of
// what it shows as a binary PPM.
#pragma once

// (a build from before the games spoke other languages has no idioma.h)
#if __has_include("idioma.h")
#include "idioma.h"
#define ZK_FOTOS_IDIOMA 1
#endif

#include <GL/freeglut.h>

#include <cstdio>
#include <string>
#include <unistd.h>
#include <vector>

namespace fotogramas
{

// Opens a window like the game's and lets X map it. It stands where the test
// windows do, right of where the games open, so that it never covers a game
// window that an end-to-end test is taking a picture of.
inline int abrirVentana(int argc, char** argv, int ancho, int alto, const char* titulo)
{
#ifdef ZK_FOTOS_IDIOMA
    // the locale's language, as the games speak it (the C locale: their own)
    zk_idioma_iniciar();
#endif
    glutInit(&argc, argv);
    glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH);
    glutInitWindowSize(ancho, alto);
    glutInitWindowPosition(1280, 0);
    const int id = glutCreateWindow(titulo);
    glutDisplayFunc([] {});
    for (int i = 0; i < 50; i++) {
        glutMainLoopEvent();
        usleep(2000);
    }
    glutSetWindow(id);
    return id;
}

// Writes what the last frame drew to DIR/NOMBRE.ppm. The software renderer
// keeps the back buffer through the swap (it copies it out), and its front
// buffer reads back empty.
inline bool guardar(const std::string& dir, const char* nombre, int ancho, int alto)
{
    glFinish();
    std::vector<unsigned char> px((size_t)ancho * alto * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(0, 0, ancho, alto, GL_RGB, GL_UNSIGNED_BYTE, px.data());
    const std::string ruta = dir + "/" + nombre + ".ppm";
    FILE* f = fopen(ruta.c_str(), "wb");
    if (f == nullptr) {
        fprintf(stderr, "cannot write %s\n", ruta.c_str());
        return false;
    }
    fprintf(f, "P6\n%d %d\n255\n", ancho, alto);
    // OpenGL's rows run bottom-up, the file's top-down
    for (int fila = alto - 1; fila >= 0; fila--)
        fwrite(&px[(size_t)fila * ancho * 3], 1, (size_t)ancho * 3, f);
    const bool ok = fclose(f) == 0;
    fprintf(stderr, "%s\n", ruta.c_str());
    return ok;
}

// A run of frames of one game into one folder.
struct Captura {
    std::string dir;
    int ancho, alto;
    void (*dibujar)(); // the game's display callback
    bool ok = true;

    // Draws one frame as the game does and keeps it as NOMBRE.
    void foto(const char* nombre)
    {
        dibujar();
        ok = guardar(dir, nombre, ancho, alto) && ok;
    }
};

} // namespace fotogramas
