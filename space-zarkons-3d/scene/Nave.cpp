// A ship drawn from a RAW triangle file, with vertex normals of its own.
#include "Nave.h"
#include "idioma.h"

#include "Geometria.h"

#include <GL/gl.h>

#include <algorithm>
#include <cassert>
#include <cstdint>
#include <cstring>
#include <exception>
#include <fstream>
#include <iostream>
#include <locale>
#include <unordered_map>

// Past this many triangles around one vertex, sums are kept and reused for
// triangles with the same vertices (a file of one triangle repeated would
// otherwise take the square of its length).
static const size_t kValenciaRecordada = 32;

// --- vertex identities ---

// A vertex as the bits of its coordinates, -0 made +0, so that equal bits
// mean equal points. Points with a NaN have no key: they equal nothing.
struct Clave {
    uint32_t x, y, z;
    bool operator==(const Clave& o) const { return x == o.x && y == o.y && z == o.z; }
};

static uint32_t bits(float f)
{
    if (f == 0.0f)
        f = 0.0f;
    uint32_t b;
    memcpy(&b, &f, sizeof b);
    return b;
}

static bool claveDe(const Punto& p, Clave& k)
{
    if (p.getX() != p.getX() || p.getY() != p.getY() || p.getZ() != p.getZ())
        return false;
    k = {bits(p.getX()), bits(p.getY()), bits(p.getZ())};
    return true;
}

static uint64_t mezclar(uint64_t h)
{
    h ^= h >> 33;
    h *= 0xff51afd7ed558ccdULL;
    h ^= h >> 33;
    h *= 0xc4ceb9fe1a85ec53ULL;
    h ^= h >> 33;
    return h;
}

// Open-addressing table from vertex key to a dense id; it doubles when half
// full, so it follows the distinct vertices rather than every corner.
class TablaVertices {
public:
    TablaVertices() { celdas.assign(1024, Celda{{0, 0, 0}, -1}); }

    // The id of `k`, giving it the next free id the first time.
    int id(const Clave& k)
    {
        size_t i = buscar(celdas, k);
        if (celdas[i].id >= 0)
            return celdas[i].id;
        if ((size_t)(siguiente + 1) * 2 > celdas.size()) {
            crecer();
            i = buscar(celdas, k);
        }
        celdas[i] = {k, siguiente};
        return siguiente++;
    }

    int cuantos() const { return siguiente; }

private:
    struct Celda {
        Clave clave;
        int id;
    };

    static size_t hash(const Clave& k)
    {
        return (size_t)mezclar(((uint64_t)k.x << 32 | k.y) ^ mezclar(k.z));
    }

    // The cell holding `k`, or the free cell where it belongs.
    static size_t buscar(const std::vector<Celda>& t, const Clave& k)
    {
        const size_t mascara = t.size() - 1;
        size_t i = hash(k) & mascara;
        while (t[i].id >= 0 && !(t[i].clave == k))
            i = (i + 1) & mascara;
        return i;
    }

    void crecer()
    {
        std::vector<Celda> nuevas(celdas.size() * 2, Celda{{0, 0, 0}, -1});
        for (const Celda& c : celdas)
            if (c.id >= 0)
                nuevas[buscar(nuevas, c.clave)] = c;
        celdas.swap(nuevas);
    }

    std::vector<Celda> celdas;
    int siguiente = 0;
};

// --- neighbour sums ---

// Key of a remembered sum: the vertex and the set of its triangle's vertices
// (sorted, repeats dropped, -2 for none; -1 anywhere means "a NaN vertex").
struct ClaveSuma {
    int v, a, b, c;
    bool operator==(const ClaveSuma& o) const
    {
        return v == o.v && a == o.a && b == o.b && c == o.c;
    }
};

struct HashSuma {
    size_t operator()(const ClaveSuma& k) const
    {
        return (size_t)mezclar(((uint64_t)(uint32_t)k.v << 32 | (uint32_t)k.a) ^
                               mezclar((uint64_t)(uint32_t)k.b << 32 | (uint32_t)k.c));
    }
};

static ClaveSuma claveSuma(int v, const int t[3])
{
    if (t[0] < 0 || t[1] < 0 || t[2] < 0)
        return {v, -1, -1, -1};
    int s[3] = {t[0], t[1], t[2]};
    std::sort(s, s + 3);
    int u[3] = {-2, -2, -2};
    int n = 0;
    for (int i = 0; i < 3; i++)
        if (n == 0 || u[n - 1] != s[i])
            u[n++] = s[i];
    return {v, u[0], u[1], u[2]};
}

// True when triangle u holds every vertex of triangle t (the one-way triangle
// equality, on ids; a NaN vertex of t is held by no triangle).
static bool contieneTodos(const int u[3], const int t[3])
{
    for (int k = 0; k < 3; k++) {
        if (t[k] < 0)
            return false;
        if (t[k] != u[0] && t[k] != u[1] && t[k] != u[2])
            return false;
    }
    return true;
}

// --- Nave ---

Nave::Nave(float x, float y, float z, float rx, float ry, float rz)
    : Dibujable(x, y, z, rx, ry, rz)
{
    std::ifstream archivo("data/nave.raw");
    if (!archivo.is_open())
        throw std::exception();
    // numbers are read the same whatever locale the program runs in
    archivo.imbue(std::locale::classic());

    try {
        float v[9];
        for (;;) {
            int leidos = 0;
            while (leidos < 9 && archivo >> v[leidos])
                leidos++;
            // an incomplete last group is dropped, like everything after text
            if (leidos < 9)
                break;
            triangulos.push_back(new Triangulo(Punto(v[0], v[1], v[2]), Punto(v[3], v[4], v[5]),
                                               Punto(v[6], v[7], v[8])));
        }

        zk_decir(stdout, zk_tr("Modelo RAW cargado (%zu triangulos), calculando vectores normales...\n"),
                 triangulos.size());
        fflush(stdout);
        calcularNormales(triangulos, normales);
        zk_decir(stdout, zk_tr("Fin del calculo de las normales, %zu normales calculadas\n"), normales.size());
        fflush(stdout);
    } catch (...) {
        // no destructor runs for a ship that was never made
        liberar();
        throw;
    }
}

void Nave::draw()
{
    glColor4f(1.0f, 1.0f, 0.8f, 1.0f);
    glBegin(GL_TRIANGLES);
        for (size_t i = 0; i < triangulos.size() && 3 * i + 2 < normales.size(); i++) {
            const Triangulo* t = triangulos[i];
            const Punto* vertices[3] = {&t->getA(), &t->getB(), &t->getC()};
            for (int k = 0; k < 3; k++) {
                const Vector* n = normales[3 * i + k];
                glNormal3f(n->getX(), n->getY(), n->getZ());
                glVertex3f(vertices[k]->getX(), vertices[k]->getY(), vertices[k]->getZ());
            }
        }
    glEnd();
}

Nave::~Nave()
{
    liberar();
    std::cout << zk_impreso(zk_tr("Nave destruida")) << std::endl;
}

void Nave::liberar()
{
    for (Triangulo* t : triangulos)
        delete t;
    triangulos.clear();
    for (Vector* n : normales)
        delete n;
    normales.clear();
}

// The neighbours of a vertex are found through a table of exact coordinates
// instead of testing every triangle, but in the same file order and with the
// same float additions, so every normal comes out with the same bits.
void Nave::calcularNormales(const std::vector<Triangulo*>& triangulos,
                            std::vector<Vector*>& normales)
{
    const size_t n = triangulos.size();

    // dense ids of the vertices; -1 for a vertex with a NaN coordinate
    std::vector<int> ids(3 * n);
    TablaVertices tabla;
    for (size_t i = 0; i < n; i++) {
        const Triangulo* t = triangulos[i];
        assert(t != nullptr);
        const Punto* vertices[3] = {&t->getA(), &t->getB(), &t->getC()};
        for (int k = 0; k < 3; k++) {
            Clave c;
            ids[3 * i + k] = claveDe(*vertices[k], c) ? tabla.id(c) : -1;
        }
    }

    // for each vertex, the triangles holding it, each once and in file order
    const size_t vertices = (size_t)tabla.cuantos();
    std::vector<size_t> inicio(vertices + 1, 0);
    auto paraCadaVertice = [&](size_t i, auto&& hacer) {
        const int* t = &ids[3 * i];
        for (int k = 0; k < 3; k++) {
            if (t[k] < 0)
                continue;
            if ((k >= 1 && t[k] == t[0]) || (k == 2 && t[k] == t[1]))
                continue; // a vertex written twice in one triangle counts once
            hacer(t[k]);
        }
    };
    for (size_t i = 0; i < n; i++)
        paraCadaVertice(i, [&](int v) { inicio[(size_t)v + 1]++; });
    for (size_t v = 0; v < vertices; v++)
        inicio[v + 1] += inicio[v];
    std::vector<size_t> lleno(inicio.begin(), inicio.end() - 1);
    std::vector<size_t> vecinos(inicio[vertices]);
    for (size_t i = 0; i < n; i++)
        paraCadaVertice(i, [&](int v) { vecinos[lleno[(size_t)v]++] = i; });

    // each face normal once; it is the same value every time it is asked for
    std::vector<Vector> caras(n);
    for (size_t i = 0; i < n; i++) {
        Vector* cara = triangulos[i]->calcularNormal();
        caras[i] = *cara;
        delete cara;
    }

    std::unordered_map<ClaveSuma, Vector, HashSuma> recordadas;
    normales.reserve(normales.size() + 3 * n);
    for (size_t i = 0; i < n; i++) {
        const int* t = &ids[3 * i];
        for (int k = 0; k < 3; k++) {
            Vector suma;
            const int v = t[k];
            if (v >= 0) {
                const size_t desde = inicio[(size_t)v], hasta = inicio[(size_t)v + 1];
                const bool recordar = hasta - desde > kValenciaRecordada;
                ClaveSuma clave{};
                bool hecha = false;
                if (recordar) {
                    clave = claveSuma(v, t);
                    auto it = recordadas.find(clave);
                    if (it != recordadas.end()) {
                        suma = it->second;
                        hecha = true;
                    }
                }
                if (!hecha) {
                    for (size_t j = desde; j < hasta; j++) {
                        const size_t u = vecinos[j];
                        if (!contieneTodos(&ids[3 * u], t))
                            suma += caras[u];
                    }
                    suma.normalizar();
                    if (recordar)
                        recordadas.emplace(clave, suma);
                }
            }
            normales.push_back(new Vector(suma));
        }
    }
}
