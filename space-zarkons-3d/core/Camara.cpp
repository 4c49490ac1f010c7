// The one camera of the game.
#include "Camara.h"

#include <GL/gl.h>
#include <GL/glu.h>

Camara::Camara(float ojoX, float ojoY, float ojoZ, float centroX, float centroY, float centroZ,
               float arribaX, float arribaY, float arribaZ, bool ortho)
    : ojoX(ojoX), ojoY(ojoY), ojoZ(ojoZ), centroX(centroX), centroY(centroY), centroZ(centroZ),
      arribaX(arribaX), arribaY(arribaY), arribaZ(arribaZ), ortho(ortho)
{
}

Camara* Camara::getInstance(float ojoX, float ojoY, float ojoZ,
                            float centroX, float centroY, float centroZ,
                            float arribaX, float arribaY, float arribaZ, bool ortho)
{
    // never deleted: it lasts as long as the program
    static Camara* instancia = new Camara(ojoX, ojoY, ojoZ, centroX, centroY, centroZ,
                                          arribaX, arribaY, arribaZ, ortho);
    return instancia;
}

void Camara::setPasoX(float destino, int n) { pasoX = (destino - ojoX) / n; }
void Camara::setPasoY(float destino, int n) { pasoY = (destino - ojoY) / n; }
void Camara::setPasoZ(float destino, int n) { pasoZ = (destino - ojoZ) / n; }

void Camara::aplicar(int height, int width)
{
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    // Before the window has a size (or at a zero width) a square aspect keeps
    // the projection finite.
    double a = 1.0;
    if (width > 0 && height > 0)
        a = (double)height / (double)width;
    if (ortho)
        glOrtho(-41.0, 41.0, -41.0 * a, 41.0 * a, 0.1, lejos);
    else
        gluPerspective(95.0, 1.0 / a, 0.1, lejos);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    gluLookAt(ojoX, ojoY, ojoZ, centroX, centroY, centroZ, arribaX, arribaY, arribaZ);
}

void Camara::balancear()
{
    if (contadorBalanceo == 10 || contadorBalanceo == -10)
        sentidoBalanceo = sentidoBalanceo == 0 ? 1 : 0;
    if (sentidoBalanceo == 0) {
        ojoX += 0.5f;
        contadorBalanceo++;
    } else {
        ojoX -= 0.5f;
        contadorBalanceo--;
    }
}

void Camara::reiniciar(float ojoX, float ojoY, float ojoZ)
{
    this->ojoX = ojoX;
    this->ojoY = ojoY;
    this->ojoZ = ojoZ;
    contadorBalanceo = 0;
    sentidoBalanceo = 0;
    pasoX = pasoY = pasoZ = 0.0f;
}
