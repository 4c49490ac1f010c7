// Space Zarkons 3D: the program entry.
#include "globales.h"
#include "sound.h"
#include "idioma.h"

#include "opciones.h"
#include "settings.h"
#include "space-zarkons-3d-icon.h"
#include "window.h"

#include <GL/freeglut.h>

#include <exception>

static const char* const kAyuda =
    "Usage: space-zarkons-3d [--mute] [--fullscreen] [GLUT options]\n"
    "A 3D fixed shooter: stop the formation of enemy ships before it reaches you.\n"
    "\n"
    "  --help        show this help and exit\n"
    "  --version     show the version and exit\n"
    "  --mute        play without sound this time (the M key turns it on)\n"
    "  --fullscreen  start in full screen\n"
    "\n"
    "GLUT options: -display DISPLAY, -geometry WxH+X+Y, -gldebug, -direct, -indirect,\n"
    "-iconic, -sync.\n"
    "It plays from the folder that holds its data/ folder. See space-zarkons-3d(6).\n";

int main(int argc, char** argv)
{
    // answered before GLUT, so they need no display and open no window
    zk_idioma_iniciar();
    zk_opciones_t opciones;
    const int respondida = leerOpciones(&argc, argv, "space-zarkons-3d", kAyuda, &opciones);
    if (respondida >= 0)
        return respondida;
    const zk_settings_t ajustes = zk_settings_load("space-zarkons-3d");
    glutInit(&argc, argv);
    glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH);
    // what -geometry gave, GLUT has already taken
    if (!opciones.tamano)
        glutInitWindowSize(640, 640);
    if (!opciones.posicion)
        glutInitWindowPosition(0, 0);
    ventanaPrincipal = glutCreateWindow("Space Zarkons 3D");
    zk_window_identify("space-zarkons-3d", kIconoVentana, sizeof kIconoVentana / sizeof kIconoVentana[0]);
    if (opciones.pantallaCompleta || ajustes.fullscreen)
        empezarEnPantallaCompleta();

    glutDisplayFunc(display);
    glutReshapeFunc(reshape);
    glutMouseFunc(mouse);
    glutKeyboardFunc(keyboard);
    glutKeyboardUpFunc(keyboardUp);
    glutSpecialFunc(special);
    glutSpecialUpFunc(specialUp);
    // hidden or iconified: the game waits for the player
    glutWindowStatusFunc(estadoVentana);

    // --mute is for this run: the stored setting stays as it was
    iniciarSonido(opciones.mudo || !ajustes.sound);
    try {
        init();
    } catch (const std::exception&) {
        // a model that cannot be loaded: say so plainly instead of aborting
        salirSinModelos();
    }
    iniciarMando();

    glutMainLoop();
    return 0;
}
