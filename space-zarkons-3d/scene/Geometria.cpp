// Small geometry value types: a point, a vector and a triangle of three floats.
#include "Geometria.h"

#include <cmath>

// --- Punto ---

Punto::Punto(float x, float y, float z) : x(x), y(y), z(z) {}

Punto::Punto(const Punto& p) : x(p.getX()), y(p.getY()), z(p.getZ()) {}

Punto::~Punto() {}

Vector Punto::aVector() const { return Vector(x, y, z); }

bool Punto::operator==(const Punto& p) const
{
    return x == p.x && y == p.y && z == p.z;
}

// --- Vector ---

Vector::Vector() : x(0.0f), y(0.0f), z(0.0f) {}

Vector::Vector(float x, float y, float z) : x(x), y(y), z(z) {}

Vector::Vector(const Vector& v) : x(v.x), y(v.y), z(v.z) {}

Vector::Vector(const Punto& p) : x(p.getX()), y(p.getY()), z(p.getZ()) {}

Vector& Vector::operator=(const Vector& v)
{
    x = v.x;
    y = v.y;
    z = v.z;
    return *this;
}

Vector& Vector::operator+=(const Vector& v)
{
    x += v.x;
    y += v.y;
    z += v.z;
    return *this;
}

Vector& Vector::operator-=(const Vector& v)
{
    x -= v.x;
    y -= v.y;
    z -= v.z;
    return *this;
}

Vector& Vector::operator*=(float s)
{
    x *= s;
    y *= s;
    z *= s;
    return *this;
}

Vector Vector::operator+(const Vector& v) const { return Vector(x + v.x, y + v.y, z + v.z); }

Vector Vector::operator-(const Vector& v) const { return Vector(x - v.x, y - v.y, z - v.z); }

Vector Vector::operator*(float s) const { return Vector(x * s, y * s, z * s); }

Vector operator*(float s, const Vector& v) { return v * s; }

float Vector::productoEscalar(const Vector& o) const { return x * o.x + y * o.y + z * o.z; }

Vector Vector::productoVectorial(const Vector& o) const
{
    return Vector(y * o.z - z * o.y, z * o.x - x * o.z, x * o.y - y * o.x);
}

void Vector::normalizar()
{
    const float len = (float)std::sqrt(x * x + y * y + z * z);
    // written as "not greater" so that a NaN length also leaves the vector alone
    if (!(len > 0.0f))
        return;
    x /= len;
    y /= len;
    z /= len;
}

bool Vector::operator==(const Vector& v) const { return x == v.x && y == v.y && z == v.z; }

// --- Triangulo ---

Triangulo::Triangulo(const Punto& a, const Punto& b, const Punto& c)
    : a(a), b(b), c(c), normal(0.0f, 0.0f, 0.0f)
{
}

Vector* Triangulo::calcularNormal() const
{
    const Vector u = a.aVector() - b.aVector();
    const Vector w = b.aVector() - c.aVector();
    Vector* n = new Vector(u.productoVectorial(w));
    n->normalizar();
    return n;
}

bool Triangulo::tieneVertice(const Punto& p) const
{
    return p == a || p == b || p == c;
}

bool Triangulo::operator==(const Triangulo& t) const
{
    return t.tieneVertice(a) && t.tieneVertice(b) && t.tieneVertice(c);
}

bool Triangulo::operator!=(const Triangulo& t) const { return !(*this == t); }
