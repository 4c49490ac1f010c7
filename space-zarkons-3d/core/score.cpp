// The score strip: a subwindow over the top edge of the main window.
#include "globales.h"

#include <GL/freeglut.h>
#include <GL/glu.h>

#include <cstdio>

// Longest text: a ten-character label, an int of 11 characters and a space.
static char textoScore[32];

// Sets the colour first: the raster position latches it.
static void texto(float r, float g, float b, float x, float y)
{
    glColor3f(r, g, b);
    glRasterPos2f(x, y);
    drawBitmapString(textoScore);
}

void alternarScore()
{
    mostrarScore = !mostrarScore;
    if (mostrarScore) {
        ventanaScore = glutCreateSubWindow(ventanaPrincipal, 0, 0, 640, 24);
        glutDisplayFunc(displayScore);
        glutReshapeFunc(reshapeScore);
        // a key released over the strip must still clear its held flag
        glutKeyboardFunc(keyboard);
        glutKeyboardUpFunc(keyboardUp);
        glutSpecialFunc(special);
        glutSpecialUpFunc(specialUp);
        glutSetWindow(ventanaPrincipal);
    } else {
        glutDestroyWindow(ventanaScore);
        // the key may have come from the strip itself
        activarVentanaPrincipal();
    }
}

// The strip's coordinates are fractions of it, (0, 0) at the bottom-left.
void reshapeScore(int w, int h)
{
    glViewport(0, 0, w, h);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluOrtho2D(0.0, 1.0, 0.0, 1.0);
}

void displayScore()
{
    glutSetWindow(ventanaScore);
    glClearColor(0.25f, 0.25f, 0.25f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);

    // a blue frame just inside the edges
    glColor4f(0.0f, 0.0f, 1.0f, 1.0f);
    glBegin(GL_LINE_LOOP);
        glVertex2f(0.0f, 0.0f);
        glVertex2f(0.0f, 0.99f);
        glVertex2f(0.999f, 0.99f);
        glVertex2f(0.999f, 0.0f);
    glEnd();

    snprintf(textoScore, sizeof textoScore, "Puntaje = %d ", puntaje);
    texto(1.0f, 1.0f, 1.0f, 0.05f, 0.25f);
    snprintf(textoScore, sizeof textoScore, "Vidas = %d ", vidas);
    texto(1.0f, 1.0f, 1.0f, 0.3f, 0.25f);
    snprintf(textoScore, sizeof textoScore, "FPS = %d ", fps);
    texto(1.0f, 1.0f, 1.0f, 0.8f, 0.25f);
    if (!gameOver) {
        snprintf(textoScore, sizeof textoScore, "Energia = %d ", energia);
        texto(1.0f, 1.0f, 1.0f, 0.55f, 0.25f);
    } else {
        snprintf(textoScore, sizeof textoScore, "GameOver");
        texto(1.0f, 0.0f, 0.0f, 0.55f, 0.25f);
    }
    glutSwapBuffers();
}

void drawBitmapString(const char* s)
{
    for (const char* c = s; *c != '\0'; c++)
        glutBitmapCharacter(GLUT_BITMAP_HELVETICA_18, (unsigned char)*c);
}
