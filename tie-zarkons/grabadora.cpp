// The recorder: drawing said to it instead of GL comes out as arrays of
// triangles with the matrices already applied. The Tie's body and the X-Wing
// are said once to GL, into their lists, and once to the recorder: the
// formation then goes out as two indexed draws instead of some twenty draws
// and a dozen matrix changes per Tie, and the X-Wing as one instead of some
// four hundred.
#include "grabadora.h"

#include <GL/glu.h>

#include <array>
#include <cassert>
#include <cmath>
#include <initializer_list> // range-for over brace lists
#include <vector>

// --- file-local state ---
static GLUquadric* relleno_q = nullptr; // fill-style quadric while compiling
static GLUquadric* lineas_q = nullptr;  // line-style quadric while compiling

// What a running recording keeps besides its result.
struct Estado {
    std::vector<std::array<float, 16>> pila{
        std::array<float, 16>{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}};
    bool doble = false;
    GLenum modo = 0;
    std::vector<GLuint> tira; // the vertices of the primitive being said
};
static Grabacion* grabando = nullptr; // the recording under way, or null
static Estado* estado = nullptr;      // and its working state

// --- helpers ---
// m = m * b, both column-major as GL keeps them
static void multiplicar(std::array<float, 16>& m, const float b[16])
{
    std::array<float, 16> r{};
    for (int c = 0; c < 4; c++)
        for (int f = 0; f < 4; f++)
            for (int k = 0; k < 4; k++)
                r[c * 4 + f] += m[k * 4 + f] * b[c * 4 + k];
    m = r;
}

// Slice i of a round shape sits at angle 2 pi i / cortes from +y toward +x,
// the last slice closing exactly on the first.
static void angulo(int i, int cortes, float& s, float& c)
{
    if (i == cortes)
        i = 0;
    const float a = 2.0f * (float)M_PI * (float)i / (float)cortes;
    s = std::sin(a);
    c = std::cos(a);
}

// A cylinder's ring j of pilas: its height and radius, the radius running
// straight from base to tope.
static void anillo(float base, float tope, float alto, int j, int pilas, float& z, float& r)
{
    z = alto * (float)j / (float)pilas;
    r = base - (base - tope) * (float)j / (float)pilas;
}

// How a cylinder's normals lean: nxy across the axis, nz along it.
static void inclinacion(float base, float tope, float alto, float& nxy, float& nz)
{
    const float largo = std::sqrt((base - tope) * (base - tope) + alto * alto);
    nz = (base - tope) / largo;
    nxy = alto / largo;
}

// --- public functions ---

Grabacion* grabar(void (*dibujar)())
{
    assert(dibujar != nullptr);
    assert(grabando == nullptr);
    Grabacion* g = new Grabacion;
    Estado e;
    grabando = g;
    estado = &e;
    dibujar();
    assert(e.pila.size() == 1 && e.modo == 0);
    grabando = nullptr;
    estado = nullptr;
    return g;
}

void empujar()
{
    if (grabando)
        estado->pila.push_back(estado->pila.back());
    else
        glPushMatrix();
}

void soltar()
{
    if (grabando) {
        assert(estado->pila.size() > 1);
        estado->pila.pop_back();
    } else {
        glPopMatrix();
    }
}

void mover(float x, float y, float z)
{
    if (!grabando) {
        glTranslatef(x, y, z);
        return;
    }
    const float t[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, x, y, z, 1};
    multiplicar(estado->pila.back(), t);
}

void girar(float grados, float x, float y, float z)
{
    if (!grabando) {
        glRotatef(grados, x, y, z);
        return;
    }
    const float l = std::sqrt(x * x + y * y + z * z);
    assert(l > 0.0f);
    x /= l; y /= l; z /= l;
    const float a = grados * (float)M_PI / 180.0f;
    const float c = std::cos(a), s = std::sin(a), k = 1.0f - c;
    const float r[16] = {x * x * k + c,     y * x * k + z * s, z * x * k - y * s, 0,
                         x * y * k - z * s, y * y * k + c,     z * y * k + x * s, 0,
                         x * z * k + y * s, y * z * k - x * s, z * z * k + c,     0,
                         0, 0, 0, 1};
    multiplicar(estado->pila.back(), r);
}

void color(float r, float g, float b)
{
    if (!grabando) {
        glColor3f(r, g, b);
        return;
    }
    grabando->rgb[0] = r; grabando->rgb[1] = g; grabando->rgb[2] = b;
}

void dobleCara(bool doble)
{
    if (grabando)
        estado->doble = doble;
    else if (doble)
        glDisable(GL_CULL_FACE);
    else
        glEnable(GL_CULL_FACE);
}

void normal3(float x, float y, float z)
{
    if (!grabando) {
        glNormal3f(x, y, z);
        return;
    }
    grabando->n[0] = x; grabando->n[1] = y; grabando->n[2] = z;
}

void vertice3(float x, float y, float z)
{
    if (!grabando) {
        glVertex3f(x, y, z);
        return;
    }
    Grabacion& g = *grabando;
    const std::array<float, 16>& m = estado->pila.back();
    Vertice v;
    // the matrices are rotations and moves, so normals turn with the upper 3x3
    for (int f = 0; f < 3; f++) {
        v.p[f] = m[f] * x + m[4 + f] * y + m[8 + f] * z + m[12 + f];
        v.n[f] = m[f] * g.n[0] + m[4 + f] * g.n[1] + m[8 + f] * g.n[2];
        v.c[f] = g.rgb[f];
    }
    estado->tira.push_back((GLuint)g.vertices.size());
    g.vertices.push_back(v);
}

void empezar(GLenum modo)
{
    if (!grabando) {
        glBegin(modo);
        return;
    }
    assert(estado->modo == 0);
    estado->modo = modo;
    estado->tira.clear();
}

// The primitive said since empezar, as the triangles GL makes of it.
void terminar()
{
    if (!grabando) {
        glEnd();
        return;
    }
    Grabacion& g = *grabando;
    std::vector<GLuint>& destino = estado->doble ? g.dobles : g.simples;
    const std::vector<GLuint>& t = estado->tira;
    auto triangulo = [&](GLuint a, GLuint b, GLuint c) {
        destino.push_back(a);
        destino.push_back(b);
        destino.push_back(c);
    };
    const size_t n = t.size();
    switch (estado->modo) {
    case GL_POLYGON: // convex, so a fan from its first point
    case GL_TRIANGLE_FAN:
        for (size_t i = 1; i + 1 < n; i++)
            triangulo(t[0], t[i], t[i + 1]);
        break;
    case GL_TRIANGLE_STRIP:
        for (size_t i = 0; i + 2 < n; i++) {
            if (i % 2 == 0)
                triangulo(t[i], t[i + 1], t[i + 2]);
            else
                triangulo(t[i + 1], t[i], t[i + 2]);
        }
        break;
    case GL_QUAD_STRIP:
        for (size_t i = 0; i + 3 < n; i += 2) {
            triangulo(t[i + 2], t[i], t[i + 3]);
            triangulo(t[i], t[i + 1], t[i + 3]);
        }
        break;
    case GL_LINE_LOOP:
        for (size_t i = 0; i < n && n > 1; i++) {
            g.lineas.push_back(t[i]);
            g.lineas.push_back(t[(i + 1) % n]);
        }
        break;
    case GL_LINES:
        g.lineas.insert(g.lineas.end(), t.begin(), t.begin() + (n / 2) * 2);
        break;
    default:
        assert(!"a primitive the recorder does not know");
    }
    estado->modo = 0;
}

void crearCuadricas()
{
    assert(relleno_q == nullptr && lineas_q == nullptr);
    relleno_q = gluNewQuadric();
    lineas_q = gluNewQuadric();
    gluQuadricDrawStyle(relleno_q, GLU_FILL);
    gluQuadricDrawStyle(lineas_q, GLU_LINE);
}

void borrarCuadricas()
{
    gluDeleteQuadric(relleno_q);
    gluDeleteQuadric(lineas_q);
    relleno_q = nullptr;
    lineas_q = nullptr;
}

// GLU's cylinder along +z: a strip around each stack, low ring first, one
// normal per slice leaning with the taper. The recorder is told one stack
// from end to end: the sides are straight, so every stack lies in the same
// planes with the same normals and the picture stays the same. The software
// renderer sets up each triangle on the game's own thread, and the stacks
// made four in five of the triangles a frame sent (the thin hubs' were
// slivers a pixel high).
void cilindro(float base, float tope, float alto, int cortes, int pilas)
{
    if (!grabando) {
        gluCylinder(relleno_q, base, tope, alto, cortes, pilas);
        return;
    }
    float nxy, nz;
    inclinacion(base, tope, alto, nxy, nz);
    empezar(GL_QUAD_STRIP);
    for (int i = 0; i <= cortes; i++) {
        float s, c;
        angulo(i, cortes, s, c);
        normal3(nxy * s, nxy * c, nz);
        vertice3(base * s, base * c, 0.0f);
        vertice3(tope * s, tope * c, alto);
    }
    terminar();
}

// GLU's cylinder as lines: a ring at each end of each stack, its points with
// their slice's normal, then one line along each slice, its normal level.
void cilindroLineas(float base, float tope, float alto, int cortes, int pilas)
{
    if (!grabando) {
        gluCylinder(lineas_q, base, tope, alto, cortes, pilas);
        return;
    }
    float nxy, nz;
    inclinacion(base, tope, alto, nxy, nz);
    for (int j = 0; j <= pilas; j++) {
        float z, r;
        anillo(base, tope, alto, j, pilas, z, r);
        empezar(GL_LINE_LOOP);
        for (int i = 0; i < cortes; i++) {
            float s, c;
            angulo(i, cortes, s, c);
            normal3(nxy * s, nxy * c, nz);
            vertice3(r * s, r * c, z);
        }
        terminar();
    }
    empezar(GL_LINES);
    for (int i = 0; i < cortes; i++) {
        float s, c;
        angulo(i, cortes, s, c);
        normal3(nxy * s, nxy * c, 0.0f);
        vertice3(base * s, base * c, 0.0f);
        vertice3(tope * s, tope * c, alto);
    }
    terminar();
}

// One ring of facets: a flat disc with one normal looks the same in any number
// of rings, and Mesa crashes replaying a listed full disc of several rings in
// feedback mode.
void disco(float radio)
{
    if (!grabando) {
        gluDisk(relleno_q, 0.0, radio, 12, 1);
        return;
    }
    // a fan from the centre, round the rim against the slices' order
    empezar(GL_TRIANGLE_FAN);
    normal3(0.0f, 0.0f, 1.0f);
    vertice3(0.0f, 0.0f, 0.0f);
    for (int i = 12; i >= 0; i--) {
        float s, c;
        angulo(i, 12, s, c);
        vertice3(radio * s, radio * c, 0.0f);
    }
    terminar();
}

// GLUT's sphere of 12 slices and 12 stacks, in its own list; to the recorder,
// the same bands from the top down, each point's normal its direction.
void esfera(GLuint lista, float radio)
{
    if (!grabando) {
        glCallList(lista);
        return;
    }
    const int n = 12;
    for (int k = 0; k < n; k++) {
        empezar(GL_TRIANGLE_STRIP);
        for (int i = 0; i <= n; i++) {
            float s, c;
            angulo(i, n, s, c);
            for (int anillo : {k + 1, k}) {
                const float fi = (float)M_PI * (float)anillo / (float)n;
                // round from +x toward -y
                const float x = std::sin(fi) * c, y = -std::sin(fi) * s, z = std::cos(fi);
                normal3(x, y, z);
                vertice3(radio * x, radio * y, radio * z);
            }
        }
        terminar();
    }
}

// GLUT's torus of 12 sides and 12 rings round z, in its own list; to the
// recorder, the same bands: one strip round the ring for each side of the
// tube, from the outer equator toward -z.
void toro(GLuint lista, float tubo, float radio)
{
    if (!grabando) {
        glCallList(lista);
        return;
    }
    const int n = 12;
    for (int lado = 0; lado < n; lado++) {
        empezar(GL_TRIANGLE_STRIP);
        for (int i = 0; i <= n; i++) {
            float s, c;
            angulo(i, n, s, c);
            for (int l : {lado, lado + 1}) {
                float st, ct;
                angulo(l, n, st, ct);
                const float d = radio + tubo * ct;
                normal3(c * ct, s * ct, -st);
                vertice3(c * d, s * d, -tubo * st);
            }
        }
        terminar();
    }
}

// A part's list, or to the recorder, the part itself.
void parte(GLuint lista, void (*dibujar)())
{
    if (grabando)
        dibujar();
    else
        glCallList(lista);
}
