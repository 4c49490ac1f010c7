// The scene: creation of the ship, the star field and the formation, and the
// fixed order in which a frame draws them.
#include "globales.h"

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

// The ship faces the formation: turned half a turn about Y.
void crearNaveYSkybox()
{
    // Its model first, before its explosion's spark image: a folder without
    // the game's data then ends with the line about the models.
    DisplayListFactory::getNave1Chico();
    nave = new Nave1(0.0f, -10.0f, 55.0f, 0.0f, 180.0f, 0.0f);
    skybox = new Skybox(60.0f, 0.0f, 0.0f, 50.0f, 0.0f, 0.0f, 0.0f);
}

void crearFormacion()
{
    for (int i = 0; i < kInvasores; i++) {
        const float* p = posicionesInvasores[i];
        invasores.push_back(new Invasor(p[0], p[1], p[2], 0.0f, 0.0f, 0.0f));
    }
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
    printf("No se pudieron cargar los modelos del juego: falta la carpeta data o un modelo\n");
    fflush(stdout);
    exit(1);
}
