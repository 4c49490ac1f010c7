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

// Heights in font units: the top of the small letters and of the capitals,
// and where a mark above them starts.
static const float kAlturaMinuscula = 66.7f;
static const float kBaseMarcaMinuscula = 78.0f;
static const float kBaseMarcaMayuscula = 108.0f;
// The font has no Latin-1 letters: the Spanish ones are built from a base
// letter and a mark of our own, or from a mark turned upside down.
enum Marca { kAgudo, kDieresis, kTilde, kInvertido };

struct LetraCompuesta {
    unsigned char codigo; // Latin-1
    char base;            // the font's letter it is built on
    Marca marca;
};

static const LetraCompuesta kCompuestas[] = {
    {0xE1, 'a', kAgudo},    {0xE9, 'e', kAgudo},    {0xED, 'i', kAgudo},
    {0xF3, 'o', kAgudo},    {0xFA, 'u', kAgudo},    {0xFC, 'u', kDieresis},
    {0xF1, 'n', kTilde},    {0xC1, 'A', kAgudo},    {0xC9, 'E', kAgudo},
    {0xCD, 'I', kAgudo},    {0xD3, 'O', kAgudo},    {0xDA, 'U', kAgudo},
    {0xDC, 'U', kDieresis}, {0xD1, 'N', kTilde},    {0xBF, '?', kInvertido},
    {0xA1, '!', kInvertido},
};


static void startLine(double x, double y, double size)
{
    glTranslatef((float)x, (float)y, 0.0f);
    glScalef((float)(size / kFontHeight), (float)(size / kFontHeight), 1.0f);
}


static const LetraCompuesta* buscarCompuesta(unsigned char c)
{
    for (const LetraCompuesta& l : kCompuestas)
        if (l.codigo == c)
            return &l;
    return nullptr;
}

// A dot of the size the font gives the i, centred on (x, y).
static void punto(float x, float y)
{
    glBegin(GL_LINE_LOOP);
        glVertex2f(x - 4.8f, y);
        glVertex2f(x, y - 4.8f);
        glVertex2f(x + 4.8f, y);
        glVertex2f(x, y + 4.8f);
    glEnd();
}

// The mark above a letter whose box is `ancho` wide, from height `b` up.
static void dibujarMarca(Marca marca, float ancho, float b)
{
    const float cx = ancho / 2.0f;
    switch (marca) {
    case kAgudo:
        glBegin(GL_LINE_STRIP);
            glVertex2f(cx - 6.0f, b);
            glVertex2f(cx + 10.0f, b + 18.0f);
        glEnd();
        break;
    case kDieresis:
        punto(cx - 14.0f, b + 6.0f);
        punto(cx + 14.0f, b + 6.0f);
        break;
    case kTilde:
        glBegin(GL_LINE_STRIP);
            glVertex2f(cx - 20.0f, b + 2.0f);
            glVertex2f(cx - 13.0f, b + 11.0f);
            glVertex2f(cx - 6.0f, b + 12.0f);
            glVertex2f(cx + 6.0f, b + 6.0f);
            glVertex2f(cx + 13.0f, b + 7.0f);
            glVertex2f(cx + 20.0f, b + 14.0f);
        glEnd();
        break;
    case kInvertido:
        assert(!"an upside-down mark has nothing above it");
        break;
    }
}

// The base letter turned half a turn about the middle of its box, so that
// it hangs from the top of the small letters down below the baseline.
static void dibujarInvertida(char base, float ancho)
{
    const float medio = kAlturaMinuscula / 2.0f;
    glPushMatrix();
        glTranslatef(ancho / 2.0f, medio, 0.0f);
        glRotatef(180.0f, 0.0f, 0.0f, 1.0f);
        glTranslatef(-ancho / 2.0f, -medio, 0.0f);
        glutStrokeCharacter(GLUT_STROKE_ROMAN, base);
    glPopMatrix();
    glTranslatef(ancho, 0.0f, 0.0f);
}

// The i loses its dot under the accent: everything above the small letters
// is cut away while it is drawn.
static void dibujarSinPunto(char base)
{
    static const GLdouble bajoElPunto[4] = {0.0, -1.0, 0.0, (GLdouble)kBaseMarcaMinuscula};
    glPushAttrib(GL_TRANSFORM_BIT | GL_ENABLE_BIT);
        glClipPlane(GL_CLIP_PLANE0, bajoElPunto);
        glEnable(GL_CLIP_PLANE0);
        glutStrokeCharacter(GLUT_STROKE_ROMAN, base);
    glPopAttrib();
}

// One character; the font moves the current point right by its advance.
static void dibujarLetra(unsigned char c)
{
    const LetraCompuesta* l = buscarCompuesta(c);
    if (l == nullptr) {
        glutStrokeCharacter(GLUT_STROKE_ROMAN, c);
        return;
    }
    const float ancho = glutStrokeWidthf(GLUT_STROKE_ROMAN, l->base);
    if (l->marca == kInvertido) {
        dibujarInvertida(l->base, ancho);
        return;
    }
    const bool mayuscula = l->base >= 'A' && l->base <= 'Z';
    dibujarMarca(l->marca, ancho, mayuscula ? kBaseMarcaMayuscula : kBaseMarcaMinuscula);
    if (l->base == 'i')
        dibujarSinPunto(l->base);
    else
        glutStrokeCharacter(GLUT_STROKE_ROMAN, l->base);
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
// renderer's smooth lines pay for dearly. The Spanish letters, built from
// pieces, and glyphs that cannot be recorded go through the font itself.
static void trazar(unsigned char c, float& pluma)
{
    const LetraCompuesta* l = buscarCompuesta(c);
    if (l != nullptr || !grabar(c)) {
        glPushMatrix();
            glTranslatef(pluma, 0.0f, 0.0f);
            dibujarLetra(c);
        glPopMatrix();
        pluma += glutStrokeWidthf(GLUT_STROKE_ROMAN, l != nullptr ? l->base : c);
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
