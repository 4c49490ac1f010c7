// Tie Zarkons: the instructions, the window, its callbacks and the loop.
#include "globales.h"
#include "sound.h"
#include "idioma.h"

#include "opciones.h"
#include "settings.h"
#include "tie-zarkons-icon.h"
#include "window.h"

#include <GL/freeglut.h>

static const char* const kAyuda =
    "Usage: tie-zarkons [--mute] [--fullscreen] [GLUT options]\n"
    "A flat arcade shooter: shoot down the marching Ties from behind your walls.\n"
    "\n"
    "  --help        show this help and exit\n"
    "  --version     show the version and exit\n"
    "  --mute        play without sound this time (the V key turns it on)\n"
    "  --fullscreen  start in full screen (F goes back to a window)\n"
    "\n"
    "GLUT options: -display DISPLAY, -geometry WxH+X+Y, -gldebug, -direct, -indirect,\n"
    "-iconic, -sync.\n"
    "See tie-zarkons(6).\n";

int main(int argc, char** argv)
{
    // answered before the instructions and GLUT: only the asked-for text
    zk_idioma_iniciar();
    zk_opciones_t opciones;
    const int respondida = leerOpciones(&argc, argv, "tie-zarkons", kAyuda, &opciones);
    if (respondida >= 0)
        return respondida;
    writeInstrucciones();
    const zk_settings_t ajustes = zk_settings_load("tie-zarkons");
    glutInit(&argc, argv);
    glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH);
    // what -geometry gave, GLUT has already taken
    if (!opciones.tamano)
        glutInitWindowSize(640, 480);
    if (!opciones.posicion)
        glutInitWindowPosition(150, 50);
    glutCreateWindow("Tie Zarkons");
    zk_window_identify("tie-zarkons", kIconoVentana, sizeof kIconoVentana / sizeof kIconoVentana[0]);
    fullscreen = opciones.pantallaCompleta || ajustes.fullscreen;
    if (fullscreen)
        glutFullScreen();
    glutDisplayFunc(display);
    glutReshapeFunc(reshape);
    glutMouseFunc(mouse);
    glutMotionFunc(motion);
    glutKeyboardFunc(keyboard);
    glutSpecialFunc(special);
    // hidden or iconified: the game in play pauses
    glutWindowStatusFunc(estadoVentana);
    init();
    // once, before the first play frame: the lists hold no per-frame state
    crearModelos();
    swapSincronizado = sincronizarIntercambio();
    // --mute is for this run: the stored setting stays as it was
    iniciarSonidoTie(opciones.mudo || !ajustes.sound);
    iniciarMando();
    glutMainLoop();
    return 0;
}
