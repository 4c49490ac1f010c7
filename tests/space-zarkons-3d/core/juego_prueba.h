// A fixture for the game core's tests: a real window, the game's scene built
// from stand-in data files, and helpers that let GLUT's timers run.
#pragma once

#include "Camara.h"
#include "datos_prueba.h"
#include "gl_test.h"
#include "globales.h"

#include <chrono>
#include <functional>
#include <memory>

namespace zk
{

// Mesa's shader cache writes from a thread of its own, which can still be
// running when the leak checker stops the process at exit, and crash it.
[[maybe_unused]] static const int sinCacheDeShaders = setenv("MESA_SHADER_CACHE_DISABLE", "true", 0);

// Lets GLUT deliver events and run due timers for about `ms` milliseconds.
inline void bombear(int ms)
{
    auto fin = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (std::chrono::steady_clock::now() < fin) {
        glutMainLoopEvent();
        usleep(1000);
    }
}

// Pumps until `listo` holds or `ms` have passed; returns whether it held.
inline bool bombearHasta(const std::function<bool()>& listo, int ms)
{
    auto fin = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (!listo()) {
        if (std::chrono::steady_clock::now() >= fin)
            return false;
        glutMainLoopEvent();
        usleep(1000);
    }
    return true;
}

// GL objects of one kind (glIsTexture, glIsList) alive in the current context.
inline int contarObjetosGL(GLboolean (*es)(GLuint))
{
    int n = 0;
    for (GLuint i = 1; i < 2000; i++)
        n += es(i) ? 1 : 0;
    return n;
}

// The state at the end of the fly-in, reached without the fly-in's timers.
inline void empezarJuego()
{
    camara->setOjoX(1.25f);
    camara->setOjoY(1.25f);
    camara->setOjoZ(82.15f);
    pausa = 0;
}

class Juego : public GlTest
{
  protected:
    void SetUp() override
    {
        GlTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        datos = std::make_unique<EnDatosPrueba>(faltan);
        ASSERT_FALSE(datos->ruta().empty());
        ventanaPrincipal = window;
        width = height = 640;
        if (montar)
            montarEscena();
    }
    void TearDown() override { datos.reset(); }
    static void empezarJuego() { zk::empezarJuego(); }

    Faltan faltan;
    bool montar = true;
    std::unique_ptr<EnDatosPrueba> datos;
};

} // namespace zk
