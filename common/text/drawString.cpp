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
};

static Glifo glifos[256];
static bool grabada = false;  // the whole font is recorded
static bool fallida = false;  // the driver's feedback could not record it: never again

static void startLine(double x, double y, double size)
{
    glTranslatef((float)x, (float)y, 0.0f);
    glScalef((float)(size / kFontHeight), (float)(size / kFontHeight), 1.0f);
}

// Adds one feedback segment to glyph g: a segment that starts where the last
// ended goes on with its strip (the driver does not mark every new strip).
static void agregarSegmento(Glifo& g, bool reinicio, const GLfloat* v)
{
    const float x0 = v[0] - kCaja, y0 = v[1] - kCaja;
    const std::vector<float>* t = g.trazos.empty() ? nullptr : &g.trazos.back();
    if (reinicio || t == nullptr || (*t)[t->size() - 2] != x0 || (*t)[t->size() - 1] != y0)
        g.trazos.push_back({x0, y0});
    g.trazos.back().push_back(v[2] - kCaja);
    g.trazos.back().push_back(v[3] - kCaja);
}

// Records, once, what GLUT draws for every character: one pass of feedback,
// with matrices that make window coordinates the glyphs' own and a marker
// before each character. Not possible while feedback or a list is under way,
// or with the projection stack full: the text is then drawn by GLUT itself.
// Leaves the caller's matrices, viewport and matrix mode.
static bool grabarFuente()
{
    if (grabada || fallida)
        return grabada;
    GLint modo = GL_RENDER, lista = 0, pila = 0, pilaMax = 0;
    glGetIntegerv(GL_RENDER_MODE, &modo);
    glGetIntegerv(GL_LIST_INDEX, &lista);
    glGetIntegerv(GL_PROJECTION_STACK_DEPTH, &pila);
    glGetIntegerv(GL_MAX_PROJECTION_STACK_DEPTH, &pilaMax);
    // the projection stack is short: a caller may have filled it
    if (modo != GL_RENDER || lista != 0 || pila >= pilaMax)
        return false;

    std::vector<GLfloat> buf(1 << 17);
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
    glFeedbackBuffer((GLsizei)buf.size(), GL_2D, buf.data());
    glRenderMode(GL_FEEDBACK);
    for (int c = 0; c < 256; c++) {
        glLoadIdentity();
        glPassThrough((GLfloat)c);
        glutStrokeCharacter(GLUT_STROKE_ROMAN, c);
    }
    const GLint n = glRenderMode(GL_RENDER);
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode((GLenum)matriz);
    glViewport(vista[0], vista[1], vista[2], vista[3]);

    int c = -1;
    for (GLint i = 0; n > 0 && i < n;) {
        const GLenum token = (GLenum)buf[(size_t)i];
        if (token == GL_PASS_THROUGH_TOKEN && i + 1 < n) {
            c = (int)buf[(size_t)i + 1];
            i += 2;
        } else if ((token == GL_LINE_TOKEN || token == GL_LINE_RESET_TOKEN) && i + 4 < n && c >= 0 &&
                   c < 256) {
            agregarSegmento(glifos[c], token == GL_LINE_RESET_TOKEN, &buf[(size_t)i + 1]);
            i += 5;
        } else {
            break; // anything else is not a stroke glyph
        }
    }
    if (c != 255) {
        // the buffer was too small, or the driver sent something else: GLUT
        // goes on drawing the text itself
        for (Glifo& g : glifos)
            g.trazos.clear();
        fallida = true;
        return false;
    }
    for (int k = 0; k < 256; k++)
        glifos[k].avance = glutStrokeWidthf(GLUT_STROKE_ROMAN, k);
    grabada = true;
    return true;
}

// Draws c at the pen and moves the pen on, as glutStrokeCharacter would, but
// without touching the matrix: the strips of a whole line then reach the
// driver as one batch instead of one per character.
static void trazar(unsigned char c, float& pluma)
{
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
    grabarFuente();
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
            } else if (grabada) {
                trazar((unsigned char)s[i], pluma);
            } else {
                glutStrokeCharacter(GLUT_STROKE_ROMAN, (unsigned char)s[i]);
            }
        }
    glPopMatrix();
}
