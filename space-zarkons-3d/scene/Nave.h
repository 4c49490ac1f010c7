// A ship drawn from a RAW triangle file, with vertex normals of its own.
#pragma once

#include "Dibujable.h"

#include <vector>

class Triangulo;
class Vector;

class Nave : public Dibujable {
public:
    // Loads data/nave.raw; throws std::exception when it cannot be opened.
    Nave(float x, float y, float z, float rx, float ry, float rz);
    void draw() override;
    ~Nave() override;

    const std::vector<Triangulo*>& getTriangulos() const { return triangulos; }
    const std::vector<Vector*>& getNormales() const { return normales; }

    // Appends three vertex normals per triangle to `normales`: for each vertex,
    // the normalised sum, in file order, of the face normals of the triangles
    // that share it, except those holding all three vertices of its own.
    static void calcularNormales(const std::vector<Triangulo*>& triangulos,
                                 std::vector<Vector*>& normales);

private:
    void liberar();

    std::vector<Triangulo*> triangulos;
    std::vector<Vector*> normales;
};
