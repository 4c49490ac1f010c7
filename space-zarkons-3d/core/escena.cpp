// Scene: placeholder until the scene objects land.
#include "globales.h"

void crearNaveYSkybox() {}
void crearFormacion() {}
void drawObjects() {}
