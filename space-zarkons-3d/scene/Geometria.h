// Small geometry value types: a point, a vector and a triangle of three floats.
#pragma once

class Vector;

// A point in space.
class Punto {
public:
    Punto(float x, float y, float z);
    Punto(const Punto& p);
    Punto& operator=(const Punto& p) = default;
    ~Punto();

    float getX() const { return x; }
    float getY() const { return y; }
    float getZ() const { return z; }

    Vector aVector() const;
    // Exact float equality on all three coordinates (NaN equals nothing).
    bool operator==(const Punto& p) const;

private:
    float x, y, z;
};

// A 3D vector; every operation works in float.
class Vector {
public:
    Vector();
    Vector(float x, float y, float z);
    Vector(const Vector& v);
    explicit Vector(const Punto& p);
    Vector& operator=(const Vector& v);

    float getX() const { return x; }
    float getY() const { return y; }
    float getZ() const { return z; }

    Vector& operator+=(const Vector& v);
    Vector& operator-=(const Vector& v);
    Vector& operator*=(float s);
    Vector operator+(const Vector& v) const;
    Vector operator-(const Vector& v) const;
    Vector operator*(float s) const;

    float productoEscalar(const Vector& o) const;
    Vector productoVectorial(const Vector& o) const;
    // Scales to unit length; a zero (or NaN) length leaves the vector as it is.
    void normalizar();
    bool operator==(const Vector& v) const;

private:
    float x, y, z;
};

Vector operator*(float s, const Vector& v);

// A triangle of three points, in order A, B, C.
class Triangulo {
public:
    Triangulo(const Punto& a, const Punto& b, const Punto& c);

    const Punto& getA() const { return a; }
    const Punto& getB() const { return b; }
    const Punto& getC() const { return c; }

    // The unit face normal (A − B) × (B − C); the caller owns the result.
    Vector* calcularNormal() const;
    bool tieneVertice(const Punto& p) const;
    // One-directional: every vertex of this triangle is a vertex of t.
    bool operator==(const Triangulo& t) const;
    bool operator!=(const Triangulo& t) const;

private:
    Punto a, b, c;
    Vector normal; // set to zero by the constructor and never used again
};
