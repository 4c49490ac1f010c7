// Input: placeholder until the input and menu land.
#include "globales.h"

#include <cstdlib>

void keyboard(unsigned char key, int, int)
{
    if (key == 27)
        exit(0);
}
void keyboardUp(unsigned char, int, int) {}
void special(int, int, int) {}
void specialUp(int, int, int) {}
void aplicarTeclas() {}
void limpiarTeclas() { teclaArriba = teclaAbajo = teclaDerecha = teclaIzquierda = teclaDisparo = false; }
void mouse(int, int, int, int) {}
void timerCamara(int) {}
void crearMenus() {}
void menuPrincipal(int) {}
void menuProyeccion(int) {}
void menuVelocidad(int) {}
void menuLuces(int) {}
