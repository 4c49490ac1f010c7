// Stroke-font text shared by both games.
#include "drawString.h"

#include <GL/freeglut.h>

#include <cassert>
#include <cstring>
#include <vector>

// The Roman font spans 119.05 units above its baseline and 33.33 below:
// dividing by 153 makes a line about `size` units tall.
static const double kFontHeight = 153.0;
static const double kLineSpacing = 1.15;
// The box a glyph is recorded in: far larger than any glyph of the font, and a
// power of two, so that the window coordinates give the glyph's own back.
static const float kCaja = 1024.0f;

// One character of the font as GLUT draws it: its line strips, x and y in
// turn, and how far it moves the pen.
struct Glifo {
    std::vector<std::vector<float>> trazos;
    float avance = 0.0f;
    bool listo = false;
};

static Glifo glifos[256];

static void startLine(double x, double y, double size)
{
    glTranslatef((float)x, (float)y, 0.0f);
    glScalef((float)(size / kFontHeight), (float)(size / kFontHeight), 1.0f);
}

// Records once what GLUT draws for c, through feedback with matrices that make
// window coordinates the glyph's own. Not possible while feedback or a list is
// under way, or with the projection stack full: the glyph is then drawn by
// GLUT itself. Leaves the caller's matrices, viewport and matrix mode.
static bool grabar(unsigned char c)
{
    Glifo& g = glifos[c];
    if (g.listo)
        return true;
    GLint modo = GL_RENDER, lista = 0, pila = 0, pilaMax = 0;
    glGetIntegerv(GL_RENDER_MODE, &modo);
    glGetIntegerv(GL_LIST_INDEX, &lista);
    glGetIntegerv(GL_PROJECTION_STACK_DEPTH, &pila);
    glGetIntegerv(GL_MAX_PROJECTION_STACK_DEPTH, &pilaMax);
    // the projection stack is short: a caller may have filled it
    if (modo != GL_RENDER || lista != 0 || pila >= pilaMax)
        return false;

    std::vector<GLfloat> buf(1 << 14);
    GLint vista[4], matriz = GL_MODELVIEW;
    glGetIntegerv(GL_VIEWPORT, vista);
    glGetIntegerv(GL_MATRIX_MODE, &matriz);
    glViewport(0, 0, (GLsizei)(2 * kCaja), (GLsizei)(2 * kCaja));
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(-kCaja, kCaja, -kCaja, kCaja, -1.0, 1.0);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glFeedbackBuffer((GLsizei)buf.size(), GL_2D, buf.data());
    glRenderMode(GL_FEEDBACK);
    glutStrokeCharacter(GLUT_STROKE_ROMAN, c);
    GLfloat m[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
    const GLint n = glRenderMode(GL_RENDER);
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode((GLenum)matriz);
    glViewport(vista[0], vista[1], vista[2], vista[3]);
    if (n < 0)
        return false; // the buffer was too small: GLUT keeps drawing it

    // a segment that starts where the last ended goes on with its strip; the
    // driver does not mark every new strip with a reset token
    for (GLint i = 0; i + 4 < n;) {
        const GLenum token = (GLenum)buf[(size_t)i];
        if (token != GL_LINE_RESET_TOKEN && token != GL_LINE_TOKEN) {
            g.trazos.clear();
            return false;
        }
        const float x0 = buf[(size_t)i + 1] - kCaja, y0 = buf[(size_t)i + 2] - kCaja;
        const std::vector<float>* t = g.trazos.empty() ? nullptr : &g.trazos.back();
        if (token == GL_LINE_RESET_TOKEN || t == nullptr || (*t)[t->size() - 2] != x0 ||
            (*t)[t->size() - 1] != y0)
            g.trazos.push_back({x0, y0});
        g.trazos.back().push_back(buf[(size_t)i + 3] - kCaja);
        g.trazos.back().push_back(buf[(size_t)i + 4] - kCaja);
        i += 5;
    }
    g.avance = m[12];
    g.listo = true;
    return true;
}

// Draws c at the pen and moves the pen on, as glutStrokeCharacter would, but
// without touching the matrix: the strips of a whole line then reach the
// driver as one batch instead of one per character, which the software
// renderer's smooth lines pay for dearly.
static void trazar(unsigned char c, float& pluma)
{
    if (!grabar(c)) {
        glPushMatrix();
            glTranslatef(pluma, 0.0f, 0.0f);
            glutStrokeCharacter(GLUT_STROKE_ROMAN, c);
        glPopMatrix();
        pluma += glutStrokeWidthf(GLUT_STROKE_ROMAN, c);
        return;
    }
    const Glifo& g = glifos[c];
    for (const std::vector<float>& t : g.trazos) {
        glBegin(GL_LINE_STRIP);
            for (size_t k = 0; k + 1 < t.size(); k += 2)
                glVertex2f(t[k] + pluma, t[k + 1]);
        glEnd();
    }
    pluma += g.avance;
}

void drawString(const char* s, double x, double y, double size)
{
    assert(s != nullptr);
    glPushMatrix();
        startLine(x, y, size);
        int line = 0;
        float pluma = 0.0f;
        const size_t n = strlen(s);
        for (size_t i = 0; i < n; i++) {
            if (s[i] == '\n') {
                // every line starts again at x, one spacing further down
                line++;
                pluma = 0.0f;
                glPopMatrix();
                glPushMatrix();
                startLine(x, y - size * kLineSpacing * line, size);
            } else {
                trazar((unsigned char)s[i], pluma);
            }
        }
    glPopMatrix();
}
