// Space Zarkons 3D: the program entry.
#include "globales.h"
#include "sound.h"

#include "opciones.h"

#include <GL/freeglut.h>

#include <exception>

static const char* const kAyuda =
    "Usage: space-zarkons-3d [--mute] [GLUT options]\n"
    "A 3D fixed shooter: stop the formation of enemy ships before it reaches you.\n"
    "\n"
    "  --help     show this help and exit\n"
    "  --version  show the version and exit\n"
    "  --mute     play without sound (the M key turns it on)\n"
    "\n"
    "Any other option goes to GLUT (-display DISPLAY, -geometry WxH+X+Y, -gldebug, ...).\n"
    "It plays from the folder that holds its data/ folder. See space-zarkons-3d(6).\n";

int main(int argc, char** argv)
{
    // answered before GLUT, so they need no display and open no window
    const int respondida = responderOpciones(argc, argv, "space-zarkons-3d", kAyuda);
    if (respondida >= 0)
        return respondida;
    // taken out first: GLUT would not know it
    const bool mudo = zk_sound_take_mute(&argc, argv);
    glutInit(&argc, argv);
    glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH);
    glutInitWindowSize(640, 640);
    glutInitWindowPosition(0, 0);
    ventanaPrincipal = glutCreateWindow("Space Zarkons 3D");

    glutDisplayFunc(display);
    glutReshapeFunc(reshape);
    glutMouseFunc(mouse);
    glutKeyboardFunc(keyboard);
    glutKeyboardUpFunc(keyboardUp);
    glutSpecialFunc(special);
    glutSpecialUpFunc(specialUp);
    // hidden or iconified: the game waits for the player
    glutWindowStatusFunc(estadoVentana);

    iniciarSonido(mudo);
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
