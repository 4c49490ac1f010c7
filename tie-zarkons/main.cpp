// Tie Zarkons: the instructions, the window, its callbacks and the loop.
#include "globales.h"
#include "sound.h"

#include <GL/freeglut.h>

int main(int argc, char** argv)
{
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
    init();
    // once, before the first play frame: the lists hold no per-frame state
    crearModelos();
    swapSincronizado = sincronizarIntercambio();
    iniciarSonidoTie(mudo);
    glutMainLoop();
    return 0;
}
