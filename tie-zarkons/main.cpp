// Tie Zarkons: the instructions, the window, its callbacks and the loop.
#include "globales.h"
#include "sound.h"

#include "opciones.h"

#include <GL/freeglut.h>

static const char* const kAyuda =
    "Usage: tie-zarkons [--mute] [GLUT options]\n"
    "A flat arcade shooter: shoot down the marching Ties from behind your walls.\n"
    "\n"
    "  --help     show this help and exit\n"
    "  --version  show the version and exit\n"
    "  --mute     play without sound (the V key turns it on)\n"
    "\n"
    "Any other option goes to GLUT (-display DISPLAY, -geometry WxH+X+Y, -gldebug, ...).\n"
    "See tie-zarkons(6).\n";

int main(int argc, char** argv)
{
    // answered before the instructions and GLUT: only the asked-for text
    const int respondida = responderOpciones(argc, argv, "tie-zarkons", kAyuda);
    if (respondida >= 0)
        return respondida;
    writeInstrucciones();
    // taken out first: GLUT would not know it
    const bool mudo = zk_sound_take_mute(&argc, argv);
    glutInit(&argc, argv);
    glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH);
    glutInitWindowSize(640, 480);
    glutInitWindowPosition(150, 50);
    glutCreateWindow("Tie Zarkons");
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
    iniciarSonidoTie(mudo);
    iniciarMando();
    glutMainLoop();
    return 0;
}
