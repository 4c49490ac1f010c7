// Points, vectors and triangles: exact equality, normals and normalisation.
#include "Geometria.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>

TEST(Vector, NormalisingKeepsZeroAndScalesOthersToUnitLength)
{
    Vector cero;
    cero.normalizar();
    EXPECT_EQ(cero, Vector(0, 0, 0));

    Vector v(3, 4, 0);
    v.normalizar();
    EXPECT_FLOAT_EQ(v.getX(), 0.6f);
    EXPECT_FLOAT_EQ(v.getY(), 0.8f);
    EXPECT_EQ(v.getZ(), 0.0f);

    const float nan = std::numeric_limits<float>::quiet_NaN();
    Vector raro(nan, 1, 1);
    raro.normalizar();
    EXPECT_EQ(raro.getY(), 1.0f);
}

TEST(Vector, ArithmeticAndProducts)
{
    Vector a(1, 2, 3), b(4, 5, 6);
    EXPECT_EQ(a + b, Vector(5, 7, 9));
    EXPECT_EQ(b - a, Vector(3, 3, 3));
    EXPECT_EQ(a * 2.0f, Vector(2, 4, 6));
    EXPECT_EQ(2.0f * a, Vector(2, 4, 6));
    EXPECT_EQ(a.productoEscalar(b), 32.0f);
    EXPECT_EQ(a.productoVectorial(b), Vector(-3, 6, -3));
    EXPECT_EQ(Vector(1, 0, 0).productoVectorial(Vector(0, 1, 0)), Vector(0, 0, 1));
    Vector c = a;
    c += b;
    c -= Vector(1, 1, 1);
    c *= 0.5f;
    EXPECT_EQ(c, Vector(2, 3, 4));
    EXPECT_EQ(Vector(Punto(7, 8, 9)), Vector(7, 8, 9));
}

TEST(Punto, EqualityIsExact)
{
    Punto p(1, 2, 3);
    EXPECT_TRUE(p == Punto(1, 2, 3));
    EXPECT_FALSE(p == Punto(1, 2, std::nextafter(3.0f, 4.0f)));
    EXPECT_TRUE(Punto(0.0f, 0, 0) == Punto(-0.0f, 0, 0));
    const float nan = std::numeric_limits<float>::quiet_NaN();
    Punto q(nan, 0, 0);
    EXPECT_FALSE(q == q);
}

TEST(Triangulo, FaceNormalIsTheUnitRightHandNormal)
{
    Triangulo t(Punto(0, 0, 0), Punto(1, 0, 0), Punto(0, 1, 0));
    std::unique_ptr<Vector> n(t.calcularNormal());
    EXPECT_EQ(*n, Vector(0, 0, 1));

    Triangulo grande(Punto(0, 0, 0), Punto(0, 0, 5), Punto(5, 0, 0));
    std::unique_ptr<Vector> m(grande.calcularNormal());
    EXPECT_EQ(*m, Vector(0, 1, 0));

    Triangulo plano(Punto(0, 0, 0), Punto(1, 1, 1), Punto(2, 2, 2));
    std::unique_ptr<Vector> z(plano.calcularNormal());
    EXPECT_EQ(*z, Vector(0, 0, 0));
}

TEST(Triangulo, EqualityOnlyAsksWhetherTheOtherHoldsEveryVertex)
{
    Punto p(0, 0, 0), q(1, 0, 0), r(0, 1, 0);
    Triangulo ppp(p, p, p), pqr(p, q, r), rpq(r, p, q);
    EXPECT_TRUE(ppp == pqr);
    EXPECT_FALSE(pqr == ppp);
    EXPECT_TRUE(pqr != ppp);
    EXPECT_TRUE(pqr == rpq);
    EXPECT_FALSE(pqr != rpq);

    EXPECT_TRUE(pqr.tieneVertice(Punto(1, 0, 0)));
    EXPECT_FALSE(pqr.tieneVertice(Punto(std::nextafter(1.0f, 2.0f), 0, 0)));
}
