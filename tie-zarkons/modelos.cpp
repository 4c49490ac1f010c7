// The models: the Tie, the X-Wing and its parts, the shots and the wall cube,
// built from immediate-mode primitives, GLU quadrics and GLUT solids and
// compiled once into display lists.
#include "globales.h"

#include <GL/freeglut.h>
#include <GL/glu.h>

#include <cassert>
#include <cmath>
#include <initializer_list> // range-for over brace lists

// --- constants ---
static const int kListas = 12;
static const int kListasSolidos = 3;
static const int kListasTie = 2;

// --- file-local state ---
// GLUT's solids each get a list of their own, called from the models: Mesa
// replays a list that mixes their vertex arrays with glBegin/glEnd vertices
// wrongly in feedback mode (primitives lost, or a crash), and nesting avoids it.
static GLuint listaEsferaCabina = 0; // the Tie's cockpit ball
static GLuint listaBolaXWing = 0;    // the ball behind the X-Wing's canopy
static GLuint listaToro = 0;         // the ring on each laser cannon
static GLUquadric* relleno_q = nullptr; // fill-style quadric while compiling
static GLUquadric* lineas_q = nullptr;  // line-style quadric while compiling

// --- helpers ---

struct P2 {
    float a, b;
};

// A vertex with (a, b) across the axis and c along it; the axis is z or x,
// and both orders keep the handedness, so windings carry over.
static void vertice(char eje, float a, float b, float c)
{
    if (eje == 'z')
        glVertex3f(a, b, c);
    else
        glVertex3f(c, a, b);
}

static void normal(char eje, float a, float b, float c)
{
    if (eje == 'z')
        glNormal3f(a, b, c);
    else
        glNormal3f(c, a, b);
}

// Twice the signed area of a ring: positive when it runs counter-clockwise.
static float areaFirmada(const P2* p, int n)
{
    float s = 0.0f;
    for (int i = 0; i < n; i++) {
        const P2& u = p[i];
        const P2& v = p[(i + 1) % n];
        s += u.a * v.b - v.a * u.b;
    }
    return s;
}

// One quad strip joining ring `atras` at c0 to ring `frente` at c1 along the
// axis, point by point, closed back to the first pair when `cerrada`. The pairs
// are ordered so that the outside faces front, which face culling keeps; each
// normal points away from the middle of the rings' box, scaled to its sides.
static void franja(char eje, const P2* atras, const P2* frente, int n, float c0, float c1,
                   bool cerrada)
{
    assert(n >= 2);
    float amin = atras[0].a, amax = amin, bmin = atras[0].b, bmax = bmin;
    for (int i = 0; i < n; i++) {
        for (const P2& p : {atras[i], frente[i]}) {
            amin = std::fmin(amin, p.a); amax = std::fmax(amax, p.a);
            bmin = std::fmin(bmin, p.b); bmax = std::fmax(bmax, p.b);
        }
    }
    const float ca = (amin + amax) / 2, cb = (bmin + bmax) / 2;
    const float ha = amax > amin ? (amax - amin) / 2 : 1.0f;
    const float hb = bmax > bmin ? (bmax - bmin) / 2 : 1.0f;

    float area = areaFirmada(atras, n);
    if (std::fabs(area) < 1e-6f)
        area = areaFirmada(frente, n); // a cone's tip ring has no area
    const bool frentePrimero = (area > 0) == (c1 > c0);

    auto punto = [&](const P2& p, float c) {
        float na = (p.a - ca) / ha, nb = (p.b - cb) / hb;
        if (na == 0.0f && nb == 0.0f)
            nb = 1.0f;
        normal(eje, na, nb, 0.0f);
        vertice(eje, p.a, p.b, c);
    };
    glBegin(GL_QUAD_STRIP);
        const int pares = cerrada ? n + 1 : n;
        for (int k = 0; k < pares; k++) {
            const int i = k % n;
            if (frentePrimero) {
                punto(frente[i], c1);
                punto(atras[i], c0);
            } else {
                punto(atras[i], c0);
                punto(frente[i], c1);
            }
        }
    glEnd();
}

static void cilindro(float base, float tope, float alto, int cortes, int pilas)
{
    gluCylinder(relleno_q, base, tope, alto, cortes, pilas);
}

// One ring of facets: a flat disc with one normal looks the same in any number
// of rings, and Mesa crashes replaying a listed full disc of several rings in
// feedback mode.
static void disco(float radio)
{
    gluDisk(relleno_q, 0.0, radio, 12, 1);
}

// --- the Tie ---

static const P2 kHexagono[6] = {
    {3.5f, 6.1f}, {-3.5f, 6.1f}, {-5.4f, 0.0f}, {-3.5f, -6.1f}, {3.5f, -6.1f}, {5.4f, 0.0f}};

static void compilarTie()
{
    glNewList(listaCuerpoTie, GL_COMPILE);
        glColor3f(0.2f, 0.2f, 0.2f);
        // The wing faces show from both sides: culling is off for them alone.
        for (float x : {-4.4f, 4.4f, -4.6f, 4.6f}) {
            glPushMatrix();
                glDisable(GL_CULL_FACE);
                glTranslatef(x, 0.0f, 0.0f);
                glRotatef(90.0f, 0.0f, 1.0f, 0.0f);
                glBegin(GL_TRIANGLE_FAN);
                    glNormal3f(0.0f, 0.0f, 1.0f);
                    glVertex3f(0.0f, 0.0f, 0.0f);
                    for (int i = 0; i <= 6; i++)
                        glVertex3f(kHexagono[i % 6].a, kHexagono[i % 6].b, 0.0f);
                glEnd();
                glEnable(GL_CULL_FACE);
            glPopMatrix();
        }
        // the rims close each wing into a plate 0.2 thick
        for (float x : {4.4f, -4.6f}) {
            glPushMatrix();
                glTranslatef(x, 0.0f, 0.0f);
                glRotatef(90.0f, 0.0f, 1.0f, 0.0f);
                franja('z', kHexagono, kHexagono, 6, 0.0f, 0.2f, true);
            glPopMatrix();
        }

        glColor3f(0.3f, 0.3f, 0.3f);
        glCallList(listaEsferaCabina);
        glPushMatrix();
            glTranslatef(-4.4f, 0.0f, 0.0f);
            glRotatef(90.0f, 0.0f, 1.0f, 0.0f);
            cilindro(0.8f, 0.6f, 2.8f, 12, 12);
        glPopMatrix();
        glPushMatrix();
            glTranslatef(4.4f, 0.0f, 0.0f);
            glRotatef(-90.0f, 0.0f, 1.0f, 0.0f);
            cilindro(0.8f, 0.6f, 2.8f, 12, 12);
        glPopMatrix();

        glColor3f(0.4f, 0.4f, 0.4f);
        static const P2 kPilonAdentro[4] = {{-0.7f, -0.4f}, {0.7f, -0.4f}, {0.7f, 0.4f}, {-0.7f, 0.4f}};
        static const P2 kPilonAfuera[4] = {{-1.0f, -0.4f}, {1.0f, -0.4f}, {1.0f, 0.4f}, {-1.0f, 0.4f}};
        glPushMatrix();
            glTranslatef(-2.1f, 0.0f, 0.0f);
            franja('x', kPilonAdentro, kPilonAfuera, 4, -0.7f, 0.7f, true);
        glPopMatrix();
        glPushMatrix();
            glTranslatef(2.1f, 0.0f, 0.0f);
            glRotatef(180.0f, 0.0f, 1.0f, 0.0f);
            franja('x', kPilonAdentro, kPilonAfuera, 4, -0.7f, 0.7f, true);
        glPopMatrix();
        // wing hubs, outside and inside each wing
        struct Cubo { float x, giro, base, tope; };
        for (const Cubo& c : {Cubo{-4.8f, 90.0f, 0.4f, 1.0f}, Cubo{4.8f, -90.0f, 0.4f, 1.0f},
                              Cubo{4.2f, 90.0f, 0.8f, 1.2f}, Cubo{-4.2f, -90.0f, 0.8f, 1.2f}}) {
            glPushMatrix();
                glTranslatef(c.x, 0.0f, 0.0f);
                glRotatef(c.giro, 0.0f, 1.0f, 0.0f);
                cilindro(c.base, c.tope, 0.2f, 8, 12);
            glPopMatrix();
        }

        glColor3f(1.0f, 1.0f, 1.0f);
        glPushMatrix();
            glTranslatef(0.0f, 0.0f, -2.1f);
            cilindro(0.8f, 1.0f, 0.6f, 12, 12);
        glPopMatrix();
        for (float x : {-0.4f, 0.4f}) {
            glPushMatrix();
                glTranslatef(x, -1.2f, 1.0f);
                cilindro(0.2f, 0.1f, 1.0f, 12, 12);
            glPopMatrix();
        }

        glColor3f(0.0f, 0.0f, 0.0f);
        glPushMatrix();
            glTranslatef(0.0f, 0.0f, -2.1f);
            disco(0.8f);
        glPopMatrix();
        glPushMatrix();
            glTranslatef(0.0f, 0.0f, 1.6f);
            cilindro(1.0f, 0.4f, 0.6f, 8, 1);
        glPopMatrix();

    glEndList();

    // the window's frame, drawn over it in thick white lines
    glNewList(listaMarcoTie, GL_COMPILE);
        glColor3f(1.0f, 1.0f, 1.0f);
        glLineWidth(3.0f);
        glPushMatrix();
            glTranslatef(0.0f, 0.0f, 1.6f);
            gluCylinder(lineas_q, 1.0, 0.4, 0.6, 8, 1);
        glPopMatrix();
        glLineWidth(1.0f);
    glEndList();

    glNewList(listaTie, GL_COMPILE);
        glCallList(listaCuerpoTie);
        glCallList(listaMarcoTie);
    glEndList();
}

// --- the X-Wing's parts ---

// A slab along x whose cross-section in (y, z) changes from one end to the other.
static void compilarAla(GLuint lista, float zMinIzq, float zMinDer)
{
    const P2 izq[4] = {{0.0f, zMinIzq}, {0.2f, zMinIzq}, {0.2f, 1.3f}, {0.0f, 1.3f}};
    const P2 der[4] = {{0.0f, zMinDer}, {0.2f, zMinDer}, {0.2f, 1.3f}, {0.0f, 1.3f}};
    glNewList(lista, GL_COMPILE);
        franja('x', izq, der, 4, -4.0f, 4.0f, true);
    glEndList();
}

static void compilarBloqueMotor()
{
    static const P2 caja[4] = {{0.8f, 0.1f}, {-0.8f, 0.1f}, {-0.8f, -0.1f}, {0.8f, -0.1f}};
    glNewList(listaBloqueMotor, GL_COMPILE);
        franja('z', caja, caja, 4, -1.6f, 1.6f, true);
    glEndList();
}

// signo 1: the upper engine; -1: the lower one, mirrored in y.
static void compilarMotor(GLuint lista, float signo)
{
    struct Tramo { float y, z, base, tope, alto; };
    const Tramo tramos[3] = {{1.9f, -4.4f, 0.8f, 0.8f, 2.6f},
                             {1.9f, -1.8f, 0.8f, 0.6f, 0.6f},
                             {2.2f, -7.0f, 0.4f, 0.4f, 2.6f}};
    struct Tapa { float y, z, radio; };
    const Tapa tapas[3] = {{1.9f, -4.4f, 0.8f}, {1.9f, -1.2f, 0.6f}, {2.2f, -7.0f, 0.4f}};
    glNewList(lista, GL_COMPILE);
        glColor3f(0.1f, 0.1f, 1.0f);
        for (const Tramo& t : tramos) {
            glPushMatrix();
                glTranslatef(0.0f, signo * t.y, t.z);
                glRotatef(-18.0f * signo, 0.0f, 0.0f, 1.0f);
                cilindro(t.base, t.tope, t.alto, 12, 12);
            glPopMatrix();
        }
        glColor3f(0.5f, 0.5f, 1.0f);
        for (const Tapa& t : tapas) {
            glPushMatrix();
                glTranslatef(0.0f, signo * t.y, t.z);
                disco(t.radio);
            glPopMatrix();
        }
    glEndList();
}

static void compilarCanon()
{
    glNewList(listaCanon, GL_COMPILE);
        glColor3f(1.0f, 0.1f, 0.1f);
        glPushMatrix();
            glTranslatef(0.0f, 0.0f, -5.0f);
            cilindro(0.3f, 0.3f, 3.2f, 12, 12);
        glPopMatrix();
        glPushMatrix();
            glTranslatef(0.0f, 0.0f, -1.8f);
            glCallList(listaToro);
        glPopMatrix();
        glPushMatrix();
            glTranslatef(0.0f, 0.0f, -1.8f);
            cilindro(0.2f, 0.2f, 2.6f, 12, 12);
        glPopMatrix();
        glPushMatrix();
            glTranslatef(0.0f, 0.0f, 0.8f);
            cilindro(0.1f, 0.1f, 2.6f, 12, 12);
        glPopMatrix();
        glPushMatrix();
            glTranslatef(0.0f, 0.0f, 3.4f);
            disco(0.3f);
        glPopMatrix();
        glPushMatrix();
            glTranslatef(0.0f, 0.0f, 3.4f);
            cilindro(0.1f, 0.1f, 1.3f, 12, 12);
        glPopMatrix();
    glEndList();
}

// --- the X-Wing ---

static const P2 kPlaca[9] = {{1.0f, 1.8f},   {-1.0f, 1.8f},  {-1.4f, 1.4f},
                             {-1.8f, 0.0f},  {-1.4f, -1.4f}, {0.0f, -1.8f},
                             {1.4f, -1.4f},  {1.8f, 0.0f},   {1.4f, 1.4f}};
static const P2 kCabina[9] = {{1.0f, 1.8f},   {-1.0f, 1.8f},  {-1.3f, 1.4f},
                              {-1.5f, 0.0f},  {-1.3f, -1.2f}, {0.0f, -1.2f},
                              {1.3f, -1.2f},  {1.5f, 0.0f},   {1.3f, 1.4f}};
static const P2 kCabinaSin[8] = {{1.0f, 1.8f},  {-1.0f, 1.8f}, {-1.3f, 1.4f}, {-1.5f, 0.0f},
                                 {-1.3f, -1.2f}, {1.3f, -1.2f}, {1.5f, 0.0f},  {1.3f, 1.4f}};
static const P2 kHombro[8] = {{0.9f, 1.3f},  {-0.9f, 1.3f}, {-0.9f, 1.3f}, {-1.3f, 0.0f},
                              {-1.1f, -0.7f}, {1.1f, -0.7f}, {1.3f, 0.0f},  {0.9f, 1.3f}};
static const P2 kCuello[6] = {{0.9f, 1.3f},  {-0.9f, 1.3f}, {-1.3f, 0.0f},
                              {-1.1f, -0.7f}, {1.1f, -0.7f}, {1.3f, 0.0f}};
static const P2 kPecho[6] = {{0.8f, 1.7f},  {-0.8f, 1.7f}, {-1.0f, 0.0f},
                             {-0.8f, -0.7f}, {0.8f, -0.7f}, {1.0f, 0.0f}};
static const P2 kMorro[6] = {{0.3f, 1.0f},  {-0.3f, 1.0f}, {-0.6f, 0.0f},
                             {-0.4f, -0.5f}, {0.4f, -0.5f}, {0.6f, 0.0f}};
static const P2 kLabio[6] = {{0.4f, 1.1f},  {-0.4f, 1.1f}, {-0.7f, 0.0f},
                             {-0.5f, -0.6f}, {0.5f, -0.6f}, {0.7f, 0.0f}};
static const P2 kPunta[6] = {{0.1f, 0.0f}, {0.1f, 0.0f}, {0.1f, 0.0f},
                             {0.1f, 0.0f}, {0.1f, 0.0f}, {0.1f, 0.0f}};
static const P2 kCupula[4] = {{0.9f, 1.3f}, {0.6f, 2.4f}, {-0.6f, 2.4f}, {-0.9f, 1.3f}};
static const P2 kCupulaFrente[4] = {{0.8f, 1.7f}, {0.8f, 1.7f}, {-0.8f, 1.7f}, {-0.8f, 1.7f}};
static const P2 kBorde[4] = {{1.3f, 1.4f}, {1.0f, 1.8f}, {-1.0f, 1.8f}, {-1.3f, 1.4f}};

static void compilarXWing()
{
    glNewList(listaXWing, GL_COMPILE);
        glColor3f(0.2f, 0.2f, 0.2f);
        // the rear plate faces backward, so its outline runs the other way
        glBegin(GL_POLYGON);
            glNormal3f(0.0f, 0.0f, -1.0f);
            for (int i = 8; i >= 0; i--)
                glVertex3f(kPlaca[i].a, kPlaca[i].b, -5.7f);
        glEnd();

        glColor3f(0.4f, 0.4f, 0.4f);
        franja('z', kPlaca, kPlaca, 9, -5.7f, -0.7f, true);
        franja('z', kPlaca, kCabina, 9, -0.7f, 1.3f, true);
        franja('z', kCabinaSin, kHombro, 8, 1.3f, 2.6f, true);
        franja('z', kCuello, kPecho, 6, 2.6f, 5.6f, true);
        franja('z', kPecho, kMorro, 6, 5.6f, 12.1f, true);

        glColor3f(0.6f, 0.6f, 0.6f);
        franja('z', kLabio, kMorro, 6, 12.1f, 13.1f, true);
        franja('z', kMorro, kPunta, 6, 13.1f, 14.6f, true);

        glColor3f(0.0f, 0.0f, 0.0f);
        franja('z', kCupula, kCupulaFrente, 4, 2.6f, 5.6f, false);
        franja('z', kBorde, kCupula, 4, 1.3f, 2.6f, false);

        glColor3f(0.1f, 0.1f, 1.0f);
        glPushMatrix();
            glTranslatef(0.0f, 1.8f, 0.5f);
            glCallList(listaBolaXWing);
        glPopMatrix();

        glColor3f(0.5f, 0.5f, 0.5f);
        struct Pieza { float giro, x, y, z; GLuint lista; };
        const Pieza alas[4] = {{18.0f, -7.4f, -0.2f, -3.2f, listaAlaIzquierda},
                               {-18.0f, -7.4f, 0.0f, -3.2f, listaAlaIzquierda},
                               {18.0f, 7.4f, 0.0f, -3.2f, listaAlaDerecha},
                               {-18.0f, 7.4f, -0.2f, -3.2f, listaAlaDerecha}};
        const Pieza bloquesMotor[4] = {{18.0f, -2.6f, -0.1f, -3.5f, listaBloqueMotor},
                                       {-18.0f, -2.6f, 0.1f, -3.5f, listaBloqueMotor},
                                       {18.0f, 2.6f, 0.1f, -3.5f, listaBloqueMotor},
                                       {-18.0f, 2.6f, -0.1f, -3.5f, listaBloqueMotor}};
        const Pieza canones[4] = {{-20.0f, -11.25f, 0.0f, 0.0f, listaCanon},
                                  {20.0f, -11.25f, 0.0f, 0.0f, listaCanon},
                                  {-20.0f, 11.25f, 0.0f, 0.0f, listaCanon},
                                  {20.0f, 11.25f, 0.0f, 0.0f, listaCanon}};
        auto poner = [](const Pieza& p) {
            glPushMatrix();
                glRotatef(p.giro, 0.0f, 0.0f, 1.0f);
                glTranslatef(p.x, p.y, p.z);
                glCallList(p.lista);
            glPopMatrix();
        };
        for (const Pieza& p : alas)
            poner(p);
        for (const Pieza& p : bloquesMotor)
            poner(p);
        for (GLuint motor : {listaMotorSuperior, listaMotorInferior}) {
            for (float x : {-2.6f, 2.6f}) {
                glPushMatrix();
                    glTranslatef(x, 0.0f, 0.0f);
                    glCallList(motor);
                glPopMatrix();
            }
        }
        for (const Pieza& p : canones)
            poner(p);
    glEndList();
}

// --- shots and the wall cube ---

// An upright strip in the z = 0 plane, drawn from its origin upward.
static void compilarRayo(GLuint lista, float alto)
{
    glNewList(lista, GL_COMPILE);
        glBegin(GL_QUADS);
            glNormal3f(0.0f, 0.0f, 1.0f);
            glVertex3f(0.0f, 0.0f, 0.0f);
            glVertex3f(0.5f, 0.0f, 0.0f);
            glVertex3f(0.5f, alto, 0.0f);
            glVertex3f(0.0f, alto, 0.0f);
        glEnd();
    glEndList();
}

static void compilarDisparoTie()
{
    glNewList(listaDisparoTie, GL_COMPILE);
        for (float x : {-0.4f, 0.4f}) {
            glPushMatrix();
                glTranslatef(x, 0.0f, 0.0f);
                glCallList(listaRayoTie);
            glPopMatrix();
        }
    glEndList();
}

static void compilarCubo()
{
    glNewList(listaCubo, GL_COMPILE);
        glBegin(GL_QUADS);
            verticesCubo(0.0f, 0.0f);
        glEnd();
    glEndList();
}

static void compilarSolidos()
{
    glNewList(listaEsferaCabina, GL_COMPILE);
        glutSolidSphere(1.8, 12, 12);
    glEndList();
    glNewList(listaBolaXWing, GL_COMPILE);
        glutSolidSphere(0.5, 12, 12);
    glEndList();
    glNewList(listaToro, GL_COMPILE);
        glutSolidTorus(0.2, 0.25, 12, 12);
    glEndList();
}

// --- public functions ---

void verticesCubo(float x, float y)
{
    // each face counter-clockwise seen from outside, so culling keeps it
    static const float caras[6][4][3] = {
        {{-2, -2, 2}, {2, -2, 2}, {2, 2, 2}, {-2, 2, 2}},         // front
        {{2, -2, -2}, {-2, -2, -2}, {-2, 2, -2}, {2, 2, -2}},     // back
        {{-2, -2, -2}, {-2, -2, 2}, {-2, 2, 2}, {-2, 2, -2}},     // left
        {{2, -2, 2}, {2, -2, -2}, {2, 2, -2}, {2, 2, 2}},         // right
        {{-2, 2, 2}, {2, 2, 2}, {2, 2, -2}, {-2, 2, -2}},         // top
        {{-2, -2, -2}, {2, -2, -2}, {2, -2, 2}, {-2, -2, 2}}};    // bottom
    int n = 0;
    for (const auto& cara : caras) {
        for (const auto& v : cara) {
            glVertex3f(v[0] + x, v[1] + y, v[2]);
            // the cube's whole shading rests on these two normals
            if (n == 0)
                glNormal3f(1.0f, 1.0f, -1.0f);
            else if (n == 2)
                glNormal3f(-1.0f, 1.0f, -1.0f);
            n++;
        }
    }
}

void crearModelos()
{
    if (listaTie != 0)
        return; // compiled once; they hold no per-frame state
    const GLuint base = glGenLists(kListas + kListasSolidos + kListasTie);
    assert(base != 0);
    listaTie = base;
    listaXWing = base + 1;
    listaAlaIzquierda = base + 2;
    listaAlaDerecha = base + 3;
    listaBloqueMotor = base + 4;
    listaMotorSuperior = base + 5;
    listaMotorInferior = base + 6;
    listaCanon = base + 7;
    listaDisparoXWing = base + 8;
    listaRayoTie = base + 9;
    listaDisparoTie = base + 10;
    listaCubo = base + 11;
    listaEsferaCabina = base + 12;
    listaBolaXWing = base + 13;
    listaToro = base + 14;
    listaCuerpoTie = base + 15;
    listaMarcoTie = base + 16;

    relleno_q = gluNewQuadric();
    lineas_q = gluNewQuadric();
    gluQuadricDrawStyle(relleno_q, GLU_FILL);
    gluQuadricDrawStyle(lineas_q, GLU_LINE);

    compilarSolidos();
    compilarTie();
    // the parts first: the X-Wing's list calls them
    compilarAla(listaAlaIzquierda, -1.3f, -2.4f);
    compilarAla(listaAlaDerecha, -2.4f, -1.3f);
    compilarBloqueMotor();
    compilarMotor(listaMotorSuperior, 1.0f);
    compilarMotor(listaMotorInferior, -1.0f);
    compilarCanon();
    compilarXWing();
    compilarRayo(listaDisparoXWing, 4.0f);
    compilarRayo(listaRayoTie, 3.0f);
    compilarDisparoTie();
    compilarCubo();

    // the lists keep the geometry; the quadrics are no longer needed
    gluDeleteQuadric(relleno_q);
    gluDeleteQuadric(lineas_q);
    relleno_q = nullptr;
    lineas_q = nullptr;
}

void borrarModelos()
{
    if (listaTie == 0)
        return;
    glDeleteLists(listaTie, kListas + kListasSolidos + kListasTie);
    listaTie = listaXWing = listaAlaIzquierda = listaAlaDerecha = 0;
    listaBloqueMotor = listaMotorSuperior = listaMotorInferior = listaCanon = 0;
    listaDisparoXWing = listaRayoTie = listaDisparoTie = listaCubo = 0;
    listaEsferaCabina = listaBolaXWing = listaToro = 0;
    listaCuerpoTie = listaMarcoTie = 0;
}
