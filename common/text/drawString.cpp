// Stroke-font text shared by both games.
#include "drawString.h"

#include <GL/freeglut.h>

#include <cassert>
#include <cstring>

// The Roman font spans 119.05 units above its baseline and 33.33 below:
// dividing by 153 makes a line about `size` units tall.
static const double kFontHeight = 153.0;
static const double kLineSpacing = 1.15;

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

void drawString(const char* s, double x, double y, double size)
{
    assert(s != nullptr);
    glPushMatrix();
        startLine(x, y, size);
        int line = 0;
        const size_t n = strlen(s);
        for (size_t i = 0; i < n; i++) {
            if (s[i] == '\n') {
                // every line starts again at x, one spacing further down
                line++;
                glPopMatrix();
                glPushMatrix();
                startLine(x, y - size * kLineSpacing * line, size);
            } else {
                dibujarLetra((unsigned char)s[i]);
            }
        }
    glPopMatrix();
}

double stringWidth(const char* s, double size)
{
    assert(s != nullptr);
    double linea = 0.0, mayor = 0.0;
    for (const unsigned char* c = (const unsigned char*)s; *c != '\0'; c++) {
        if (*c == '\n') {
            linea = 0.0;
            continue;
        }
        const LetraCompuesta* l = buscarCompuesta(*c);
        linea += glutStrokeWidthf(GLUT_STROKE_ROMAN, l != nullptr ? (unsigned char)l->base : *c);
        if (linea > mayor)
            mayor = linea;
    }
    return mayor * size / kFontHeight;
}
