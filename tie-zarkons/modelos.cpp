// The models: the Tie, the X-Wing and its parts, the shots and the wall cube,
// built from immediate-mode primitives, GLU quadrics and GLUT solids and
// compiled once into display lists. The Tie's body and the X-Wing are also
// told to the recorder, and drawn from its arrays.
#include "globales.h"

#include "grabadora.h"

#include <GL/freeglut.h>

#include <cassert>
#include <cmath>
#include <initializer_list> // range-for over brace lists
#include <vector>

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

// --- helpers ---

struct P2 {
    float a, b;
};

// A vertex with (a, b) across the axis and c along it; the axis is z or x,
// and both orders keep the handedness, so windings carry over.
static void vertice(char eje, float a, float b, float c)
{
    if (eje == 'z')
        vertice3(a, b, c);
    else
        vertice3(c, a, b);
}

static void normal(char eje, float a, float b, float c)
{
    if (eje == 'z')
        normal3(a, b, c);
    else
        normal3(c, a, b);
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
    empezar(GL_QUAD_STRIP);
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
    terminar();
}

// --- the Tie ---

static const P2 kHexagono[6] = {
    {3.5f, 6.1f}, {-3.5f, 6.1f}, {-5.4f, 0.0f}, {-3.5f, -6.1f}, {3.5f, -6.1f}, {5.4f, 0.0f}};

// The Tie without its frame, said once for the list and once for the batch.
static void cuerpoTie()
{
    color(0.2f, 0.2f, 0.2f);
    // The wing faces show from both sides: culling is off for them alone.
    for (float x : {-4.4f, 4.4f, -4.6f, 4.6f}) {
        empujar();
            dobleCara(true);
            mover(x, 0.0f, 0.0f);
            girar(90.0f, 0.0f, 1.0f, 0.0f);
            empezar(GL_TRIANGLE_FAN);
                normal3(0.0f, 0.0f, 1.0f);
                vertice3(0.0f, 0.0f, 0.0f);
                for (int i = 0; i <= 6; i++)
                    vertice3(kHexagono[i % 6].a, kHexagono[i % 6].b, 0.0f);
            terminar();
            dobleCara(false);
        soltar();
    }
    // the rims close each wing into a plate 0.2 thick
    for (float x : {4.4f, -4.6f}) {
        empujar();
            mover(x, 0.0f, 0.0f);
            girar(90.0f, 0.0f, 1.0f, 0.0f);
            franja('z', kHexagono, kHexagono, 6, 0.0f, 0.2f, true);
        soltar();
    }

    color(0.3f, 0.3f, 0.3f);
    esfera(listaEsferaCabina, 1.8f);
    empujar();
        mover(-4.4f, 0.0f, 0.0f);
        girar(90.0f, 0.0f, 1.0f, 0.0f);
        cilindro(0.8f, 0.6f, 2.8f, 12, 12);
    soltar();
    empujar();
        mover(4.4f, 0.0f, 0.0f);
        girar(-90.0f, 0.0f, 1.0f, 0.0f);
        cilindro(0.8f, 0.6f, 2.8f, 12, 12);
    soltar();

    color(0.4f, 0.4f, 0.4f);
    static const P2 kPilonAdentro[4] = {{-0.7f, -0.4f}, {0.7f, -0.4f}, {0.7f, 0.4f}, {-0.7f, 0.4f}};
    static const P2 kPilonAfuera[4] = {{-1.0f, -0.4f}, {1.0f, -0.4f}, {1.0f, 0.4f}, {-1.0f, 0.4f}};
    empujar();
        mover(-2.1f, 0.0f, 0.0f);
        franja('x', kPilonAdentro, kPilonAfuera, 4, -0.7f, 0.7f, true);
    soltar();
    empujar();
        mover(2.1f, 0.0f, 0.0f);
        girar(180.0f, 0.0f, 1.0f, 0.0f);
        franja('x', kPilonAdentro, kPilonAfuera, 4, -0.7f, 0.7f, true);
    soltar();
    // wing hubs, outside and inside each wing
    struct Cubo { float x, giro, base, tope; };
    for (const Cubo& c : {Cubo{-4.8f, 90.0f, 0.4f, 1.0f}, Cubo{4.8f, -90.0f, 0.4f, 1.0f},
                          Cubo{4.2f, 90.0f, 0.8f, 1.2f}, Cubo{-4.2f, -90.0f, 0.8f, 1.2f}}) {
        empujar();
            mover(c.x, 0.0f, 0.0f);
            girar(c.giro, 0.0f, 1.0f, 0.0f);
            cilindro(c.base, c.tope, 0.2f, 8, 12);
        soltar();
    }

    color(1.0f, 1.0f, 1.0f);
    empujar();
        mover(0.0f, 0.0f, -2.1f);
        cilindro(0.8f, 1.0f, 0.6f, 12, 12);
    soltar();
    for (float x : {-0.4f, 0.4f}) {
        empujar();
            mover(x, -1.2f, 1.0f);
            cilindro(0.2f, 0.1f, 1.0f, 12, 12);
        soltar();
    }

    color(0.0f, 0.0f, 0.0f);
    empujar();
        mover(0.0f, 0.0f, -2.1f);
        disco(0.8f);
    soltar();
    empujar();
        mover(0.0f, 0.0f, 1.6f);
        cilindro(1.0f, 0.4f, 0.6f, 8, 1);
    soltar();

}

static void marcoTie()
{
    color(1.0f, 1.0f, 1.0f);
    empujar();
        mover(0.0f, 0.0f, 1.6f);
        cilindroLineas(1.0f, 0.4f, 0.6f, 8, 1);
    soltar();
}

static void compilarTie()
{
    glNewList(listaCuerpoTie, GL_COMPILE);
        cuerpoTie();
    glEndList();

    // the window's frame, drawn over it in thick white lines
    glNewList(listaMarcoTie, GL_COMPILE);
        glLineWidth(3.0f);
        marcoTie();
        glLineWidth(1.0f);
    glEndList();

    glNewList(listaTie, GL_COMPILE);
        glCallList(listaCuerpoTie);
        glCallList(listaMarcoTie);
    glEndList();
}

// --- the X-Wing's parts ---
// Each part goes into a list of its own, which the X-Wing's list calls; the
// recorder is told the part itself.

// A slab along x whose cross-section in (y, z) changes from one end to the other.
static void ala(float zMinIzq, float zMinDer)
{
    const P2 izq[4] = {{0.0f, zMinIzq}, {0.2f, zMinIzq}, {0.2f, 1.3f}, {0.0f, 1.3f}};
    const P2 der[4] = {{0.0f, zMinDer}, {0.2f, zMinDer}, {0.2f, 1.3f}, {0.0f, 1.3f}};
    franja('x', izq, der, 4, -4.0f, 4.0f, true);
}

static void alaIzquierda() { ala(-1.3f, -2.4f); }
static void alaDerecha() { ala(-2.4f, -1.3f); }

static void bloqueMotor()
{
    static const P2 caja[4] = {{0.8f, 0.1f}, {-0.8f, 0.1f}, {-0.8f, -0.1f}, {0.8f, -0.1f}};
    franja('z', caja, caja, 4, -1.6f, 1.6f, true);
}

// signo 1: the upper engine; -1: the lower one, mirrored in y.
static void motor(float signo)
{
    struct Tramo { float y, z, base, tope, alto; };
    const Tramo tramos[3] = {{1.9f, -4.4f, 0.8f, 0.8f, 2.6f},
                             {1.9f, -1.8f, 0.8f, 0.6f, 0.6f},
                             {2.2f, -7.0f, 0.4f, 0.4f, 2.6f}};
    struct Tapa { float y, z, radio; };
    const Tapa tapas[3] = {{1.9f, -4.4f, 0.8f}, {1.9f, -1.2f, 0.6f}, {2.2f, -7.0f, 0.4f}};
    color(0.1f, 0.1f, 1.0f);
    for (const Tramo& t : tramos) {
        empujar();
            mover(0.0f, signo * t.y, t.z);
            girar(-18.0f * signo, 0.0f, 0.0f, 1.0f);
            cilindro(t.base, t.tope, t.alto, 12, 12);
        soltar();
    }
    color(0.5f, 0.5f, 1.0f);
    for (const Tapa& t : tapas) {
        empujar();
            mover(0.0f, signo * t.y, t.z);
            disco(t.radio);
        soltar();
    }
}

static void motorSuperior() { motor(1.0f); }
static void motorInferior() { motor(-1.0f); }

static void canon()
{
    color(1.0f, 0.1f, 0.1f);
    auto en = [](float z, auto&& dibujar) {
        empujar();
            mover(0.0f, 0.0f, z);
            dibujar();
        soltar();
    };
    en(-5.0f, [] { cilindro(0.3f, 0.3f, 3.2f, 12, 12); });
    en(-1.8f, [] { toro(listaToro, 0.2f, 0.25f); }); // the ring round the barrel
    en(-1.8f, [] { cilindro(0.2f, 0.2f, 2.6f, 12, 12); });
    en(0.8f, [] { cilindro(0.1f, 0.1f, 2.6f, 12, 12); });
    en(3.4f, [] { disco(0.3f); });        // the muzzle's face
    en(3.4f, [] { cilindro(0.1f, 0.1f, 1.3f, 12, 12); });
}

static void compilar(GLuint lista, void (*dibujar)())
{
    glNewList(lista, GL_COMPILE);
        dibujar();
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

static void xWing()
{
    color(0.2f, 0.2f, 0.2f);
    // the rear plate faces backward, so its outline runs the other way
    empezar(GL_POLYGON);
        normal3(0.0f, 0.0f, -1.0f);
        for (int i = 8; i >= 0; i--)
            vertice3(kPlaca[i].a, kPlaca[i].b, -5.7f);
    terminar();

    color(0.4f, 0.4f, 0.4f);
    franja('z', kPlaca, kPlaca, 9, -5.7f, -0.7f, true);
    franja('z', kPlaca, kCabina, 9, -0.7f, 1.3f, true);
    franja('z', kCabinaSin, kHombro, 8, 1.3f, 2.6f, true);
    franja('z', kCuello, kPecho, 6, 2.6f, 5.6f, true);
    franja('z', kPecho, kMorro, 6, 5.6f, 12.1f, true);

    color(0.6f, 0.6f, 0.6f);
    franja('z', kLabio, kMorro, 6, 12.1f, 13.1f, true);
    franja('z', kMorro, kPunta, 6, 13.1f, 14.6f, true);

    color(0.0f, 0.0f, 0.0f);
    franja('z', kCupula, kCupulaFrente, 4, 2.6f, 5.6f, false);
    franja('z', kBorde, kCupula, 4, 1.3f, 2.6f, false);

    color(0.1f, 0.1f, 1.0f);
    empujar();
        mover(0.0f, 1.8f, 0.5f);
        esfera(listaBolaXWing, 0.5f);
    soltar();

    color(0.5f, 0.5f, 0.5f);
    struct Pieza { float giro, x, y, z; GLuint lista; void (*dibujar)(); };
    const Pieza alas[4] = {{18.0f, -7.4f, -0.2f, -3.2f, listaAlaIzquierda, alaIzquierda},
                           {-18.0f, -7.4f, 0.0f, -3.2f, listaAlaIzquierda, alaIzquierda},
                           {18.0f, 7.4f, 0.0f, -3.2f, listaAlaDerecha, alaDerecha},
                           {-18.0f, 7.4f, -0.2f, -3.2f, listaAlaDerecha, alaDerecha}};
    const Pieza bloquesMotor[4] = {{18.0f, -2.6f, -0.1f, -3.5f, listaBloqueMotor, bloqueMotor},
                                   {-18.0f, -2.6f, 0.1f, -3.5f, listaBloqueMotor, bloqueMotor},
                                   {18.0f, 2.6f, 0.1f, -3.5f, listaBloqueMotor, bloqueMotor},
                                   {-18.0f, 2.6f, -0.1f, -3.5f, listaBloqueMotor, bloqueMotor}};
    const Pieza canones[4] = {{-20.0f, -11.25f, 0.0f, 0.0f, listaCanon, canon},
                              {20.0f, -11.25f, 0.0f, 0.0f, listaCanon, canon},
                              {-20.0f, 11.25f, 0.0f, 0.0f, listaCanon, canon},
                              {20.0f, 11.25f, 0.0f, 0.0f, listaCanon, canon}};
    auto poner = [](const Pieza& p) {
        empujar();
            girar(p.giro, 0.0f, 0.0f, 1.0f);
            mover(p.x, p.y, p.z);
            parte(p.lista, p.dibujar);
        soltar();
    };
    for (const Pieza& p : alas)
        poner(p);
    for (const Pieza& p : bloquesMotor)
        poner(p);
    for (const Pieza& p : {Pieza{0, -2.6f, 0, 0, listaMotorSuperior, motorSuperior},
                           Pieza{0, 2.6f, 0, 0, listaMotorSuperior, motorSuperior},
                           Pieza{0, -2.6f, 0, 0, listaMotorInferior, motorInferior},
                           Pieza{0, 2.6f, 0, 0, listaMotorInferior, motorInferior}}) {
        empujar();
            mover(p.x, 0.0f, 0.0f);
            parte(p.lista, p.dibujar);
        soltar();
    }
    for (const Pieza& p : canones)
        poner(p);
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

// The Tie as the formation shows it, turned toward the player.
static void tieInclinado()
{
    girar(15.0f, 1.0f, 0.0f, 0.0f);
    cuerpoTie();
    marcoTie();
}

static Grabacion* sNave = nullptr; // the X-Wing, as its list draws it

// The formation's arrays: the recorded body repeated for every Tie, normals,
// colours and triangles fixed at start-up, positions moved each frame.
static Grabacion* sCuerpo = nullptr;
static std::vector<float> sPosiciones;
static std::vector<float> sNormales;
static std::vector<float> sColores;
static std::vector<GLuint> sSimples;
static std::vector<GLuint> sDobles;
static std::vector<GLuint> sLineas;

static void grabarTies()
{
    delete sCuerpo;
    sCuerpo = grabar(tieInclinado);
    const Grabacion& g = *sCuerpo;
    const size_t nv = g.vertices.size();
    sPosiciones.assign(nv * 3 * kTies, 0.0f);
    sNormales.clear();
    sColores.clear();
    sSimples.clear();
    sDobles.clear();
    sLineas.clear();
    for (int k = 0; k < kTies; k++) {
        for (const Vertice& v : g.vertices) {
            sNormales.insert(sNormales.end(), v.n, v.n + 3);
            sColores.insert(sColores.end(), v.c, v.c + 3);
        }
        const GLuint base = (GLuint)(nv * k);
        for (GLuint i : g.simples)
            sSimples.push_back(base + i);
        for (GLuint i : g.dobles)
            sDobles.push_back(base + i);
        for (GLuint i : g.lineas)
            sLineas.push_back(base + i);
    }
}

// --- public functions ---

void dibujarTies(const float* xy, int n, bool marcos)
{
    assert(n >= 0 && n <= kTies);
    assert(sCuerpo != nullptr);
    if (n == 0)
        return;
    assert(xy != nullptr);
    const std::vector<Vertice>& vs = sCuerpo->vertices;
    float* p = sPosiciones.data();
    for (int k = 0; k < n; k++) {
        const float x = xy[2 * k], y = xy[2 * k + 1];
        for (const Vertice& v : vs) {
            *p++ = v.p[0] + x;
            *p++ = v.p[1] + y;
            *p++ = v.p[2];
        }
    }
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_NORMAL_ARRAY);
    glEnableClientState(GL_COLOR_ARRAY);
    glVertexPointer(3, GL_FLOAT, 0, sPosiciones.data());
    glNormalPointer(GL_FLOAT, 0, sNormales.data());
    glColorPointer(3, GL_FLOAT, 0, sColores.data());
    // the wings first, as each Tie's list has them
    glDisable(GL_CULL_FACE);
    glDrawElements(GL_TRIANGLES, (GLsizei)(sCuerpo->dobles.size() * n), GL_UNSIGNED_INT,
                   sDobles.data());
    glEnable(GL_CULL_FACE);
    glDrawElements(GL_TRIANGLES, (GLsizei)(sCuerpo->simples.size() * n), GL_UNSIGNED_INT,
                   sSimples.data());
    // then the window frames, smoothed, in thick lines, Tie after Tie
    if (marcos) {
        glEnable(GL_LINE_SMOOTH);
        glLineWidth(3.0f);
        glDrawElements(GL_LINES, (GLsizei)(sCuerpo->lineas.size() * n), GL_UNSIGNED_INT,
                       sLineas.data());
        glLineWidth(1.0f);
        glDisable(GL_LINE_SMOOTH);
    }
    glDisableClientState(GL_COLOR_ARRAY);
    glDisableClientState(GL_NORMAL_ARRAY);
    // the colour and normal the lists leave behind
    if (marcos) {
        glColor3f(1.0f, 1.0f, 1.0f);
    } else {
        glColor3f(0.0f, 0.0f, 0.0f);
    }
    glNormal3fv(sCuerpo->n);
}

void dibujarXWing()
{
    assert(sNave != nullptr);
    const Grabacion& g = *sNave;
    assert(g.dobles.empty() && g.lineas.empty());
    const Vertice* v = g.vertices.data();
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_NORMAL_ARRAY);
    glEnableClientState(GL_COLOR_ARRAY);
    glVertexPointer(3, GL_FLOAT, sizeof(Vertice), v->p);
    glNormalPointer(GL_FLOAT, sizeof(Vertice), v->n);
    glColorPointer(3, GL_FLOAT, sizeof(Vertice), v->c);
    glDrawElements(GL_TRIANGLES, (GLsizei)g.simples.size(), GL_UNSIGNED_INT, g.simples.data());
    glDisableClientState(GL_COLOR_ARRAY);
    glDisableClientState(GL_NORMAL_ARRAY);
    // the colour and normal the list leaves behind
    glColor3fv(g.rgb);
    glNormal3fv(g.n);
}

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

    crearCuadricas();

    compilarSolidos();
    compilarTie();
    grabarTies();
    // the parts first: the X-Wing's list calls them
    compilar(listaAlaIzquierda, alaIzquierda);
    compilar(listaAlaDerecha, alaDerecha);
    compilar(listaBloqueMotor, bloqueMotor);
    compilar(listaMotorSuperior, motorSuperior);
    compilar(listaMotorInferior, motorInferior);
    compilar(listaCanon, canon);
    compilar(listaXWing, xWing);
    delete sNave;
    sNave = grabar(xWing);
    compilarRayo(listaDisparoXWing, 4.0f);
    compilarRayo(listaRayoTie, 3.0f);
    compilarDisparoTie();
    compilarCubo();

    // the lists keep the geometry; the quadrics are no longer needed
    borrarCuadricas();
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
    delete sCuerpo;
    sCuerpo = nullptr;
    delete sNave;
    sNave = nullptr;
}
