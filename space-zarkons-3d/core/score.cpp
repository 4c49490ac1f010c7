// The score strip: a subwindow over the top edge of the main window.
#include "globales.h"
#include "idioma.h"

#include <GL/freeglut.h>
#include <GL/glu.h>

#include <cstdio>

// Longest text: a ten-character label, an int of 11 characters and a space.
static char textoScore[32];

// Frames still to draw after the last change of the strip's size.
static int cuadrosTrasCambio = 0;

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
        // as wide as the main window is now; later reshapes keep it so
        ventanaScore = glutCreateSubWindow(ventanaPrincipal, 0, 0, width > 0 ? width : 640, 24);
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
    // The driver may hand the first frame after a change of size the buffer
    // of the old size (it learns the new one at the swap), cutting the line
    // short until the score next changes: a second frame shows it whole.
    cuadrosTrasCambio = 2;
    glutPostRedisplay();
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

    snprintf(textoScore, sizeof textoScore, zk_tr("Puntaje = %d "), puntaje);
    texto(1.0f, 1.0f, 1.0f, 0.05f, 0.25f);
    snprintf(textoScore, sizeof textoScore, zk_tr("Vidas = %d "), vidas);
    texto(1.0f, 1.0f, 1.0f, 0.3f, 0.25f);
    snprintf(textoScore, sizeof textoScore, zk_tr("FPS = %d "), fps);
    texto(1.0f, 1.0f, 1.0f, 0.8f, 0.25f);
    if (!gameOver) {
        snprintf(textoScore, sizeof textoScore, zk_tr("Energia = %d "), energia);
        texto(1.0f, 1.0f, 1.0f, 0.55f, 0.25f);
    } else {
        snprintf(textoScore, sizeof textoScore, "%s", zk_tr("GameOver"));
        texto(1.0f, 0.0f, 0.0f, 0.55f, 0.25f);
    }
    glutSwapBuffers();
    if (cuadrosTrasCambio > 0 && --cuadrosTrasCambio > 0)
        glutPostRedisplay();
}

void drawBitmapString(const char* s)
{
    for (const char* c = s; *c != '\0'; c++)
        glutBitmapCharacter(GLUT_BITMAP_HELVETICA_18, (unsigned char)*c);
}

void empezarPlano()
{
    glPushAttrib(GL_ENABLE_BIT | GL_CURRENT_BIT | GL_POLYGON_BIT | GL_TRANSFORM_BIT);
    glDisable(GL_LIGHTING);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_CULL_FACE);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    gluOrtho2D(0.0, width > 0 ? width : 1, 0.0, height > 0 ? height : 1);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
}

void terminarPlano()
{
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glPopAttrib();
}

// The strip's white Helvetica, centred on the window; the camera move's own
// pause and the fly-in show nothing. Over a game over's table it stands just
// above the table, where it hides none of its lines.
void dibujarPausa()
{
    if (pausa != 1 || !pausaVisible)
        return;
    const char* const kPausa = zk_tr("Pausa");
    const int ancho = glutBitmapLength(GLUT_BITMAP_HELVETICA_18, (const unsigned char*)kPausa);
    const int borde = bordeRecords();
    empezarPlano();
    glColor3f(1.0f, 1.0f, 1.0f);
    // the raster position latches the colour; 18 pixels tall, 13 above the line
    glRasterPos2i((width - ancho) / 2, borde < 0 ? height / 2 - 6 : borde + 10);
    drawBitmapString(kPausa);
    terminarPlano();
}
