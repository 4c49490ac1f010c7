// The vertex normals of the RAW ship computed the literal, quadratic way:
// every vertex tested against every triangle. The reference the fast
// computation must match bit for bit.
#pragma once

#include "Geometria.h"

#include <vector>

inline std::vector<Vector> normalesDirectas(const std::vector<Triangulo*>& triangulos)
{
    std::vector<Vector> normales;
    for (const Triangulo* t : triangulos) {
        const Punto vertices[3] = {t->getA(), t->getB(), t->getC()};
        for (const Punto& v : vertices) {
            Vector n;
            for (const Triangulo* u : triangulos) {
                if (u->tieneVertice(v) && *t != *u) {
                    Vector* cara = u->calcularNormal();
                    n += *cara;
                    delete cara;
                }
            }
            n.normalizar();
            normales.push_back(n);
        }
    }
    return normales;
}
