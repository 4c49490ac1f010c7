// The scene: creation of the ship, the star field and the formation, and the
// fixed order in which a frame draws them.
#include "globales.h"
#include "idioma.h"

#include "Disparo.h"
#include "DisparoE.h"
#include "DisplayListFactory.h"
#include "Invasor.h"
#include "Nave1.h"
#include "ParticleRegistry.h"
#include "Skybox.h"

#include <GL/freeglut.h>

#include <cassert>
#include <cstdio>
#include <cstdlib>

// Where the ship starts every game (x, y, z, rotations about x, y, z): it
// faces the formation, turned half a turn about Y.
static const float kPoseNave[6] = {0.0f, -10.0f, 55.0f, 0.0f, 180.0f, 0.0f};

// Deletes every object of an array quietly and empties it.
template <class T> static void vaciar(std::vector<T*>& objetos)
{
    for (T* o : objetos)
        Dibujable::eliminarSinAviso(o);
    objetos.clear();
}

void crearNaveYSkybox()
{
    // Its model first, before its explosion's spark image: a folder without
    // the game's data then ends with the line about the models.
    DisplayListFactory::getNave1Chico();
    const float* p = kPoseNave;
    nave = new Nave1(p[0], p[1], p[2], p[3], p[4], p[5]);
    skybox = new Skybox(60.0f, 0.0f, 0.0f, 50.0f, 0.0f, 0.0f, 0.0f);
}

void crearFormacion()
{
    for (int i = 0; i < kInvasores; i++) {
        const float* p = posicionesInvasores[i];
        Invasor* invasor = new Invasor(p[0], p[1], p[2], 0.0f, 0.0f, 0.0f);
        invasor->setRapidez(dificultad(oleada).rapidez);
        invasores.push_back(invasor);
    }
}

void reponerEscena()
{
    assert(nave != nullptr);
    vaciar(disparos);
    vaciar(disparosEnemigos);
    vaciar(invasores);
    // the old game's bursts end with it; their sparks go to the new formation
    ParticleRegistry::getInstance()->clear();
    const float* p = kPoseNave;
    nave->reponer(p[0], p[1], p[2], p[3], p[4], p[5]);
    activarVentanaPrincipal();
    crearFormacion();
}

// Skybox first and explosions last, so every burst blends over what it hides.
void drawObjects()
{
    assert(nave != nullptr && skybox != nullptr);
    glShadeModel(facetado ? GL_FLAT : GL_SMOOTH);
    glPolygonMode(GL_FRONT_AND_BACK, wireframe ? GL_LINE : GL_FILL);
    skybox->render();
    for (Disparo* d : disparos)
        d->render();
    for (DisparoE* d : disparosEnemigos)
        d->render();
    for (Invasor* i : invasores)
        i->render();
    nave->render();
    ParticleRegistry::getInstance()->drawAll();
}

void activarVentanaPrincipal()
{
    if (glutGetWindow() != ventanaPrincipal)
        glutSetWindow(ventanaPrincipal);
}

void salirSinModelos()
{
    zk_decir(stdout, zk_tr("No se pudieron cargar los modelos del juego: falta la carpeta data o un modelo\n"));
    fflush(stdout);
    exit(1);
}
