// Space Zarkons 3D: the program entry.
#include "globales.h"
#include "sound.h"

#include <GL/freeglut.h>

#include <exception>

int main(int argc, char** argv)
{
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

    iniciarSonido(mudo);
    try {
        init();
    } catch (const std::exception&) {
        // a model that cannot be loaded: say so plainly instead of aborting
        salirSinModelos();
    }

    glutMainLoop();
    return 0;
}
