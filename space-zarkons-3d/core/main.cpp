// Space Zarkons 3D: the program entry.
#include "globales.h"

#include <GL/freeglut.h>

#include <cstdio>
#include <cstdlib>
#include <exception>

int main(int argc, char** argv)
{
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

    try {
        init();
    } catch (const std::exception&) {
        // a model that cannot be loaded: say so plainly instead of aborting
        printf("No se pudieron cargar los modelos del juego (carpeta data)\n");
        fflush(stdout);
        exit(1);
    }

    glutMainLoop();
    return 0;
}
