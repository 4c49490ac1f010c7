// Game rules: placeholder timers until the rules land.
#include "globales.h"

#include <GL/freeglut.h>

void actualizarJuego(int)
{
    redibujarVentana(ventanaPrincipal);
    glutTimerFunc(periodo, actualizarJuego, 0);
}
void timerLento(int)
{
    redibujarVentana(ventanaPrincipal);
    glutTimerFunc(100, timerLento, 0);
}
void timerIntro(int) {}
void timerRecarga(int) {}
void timerDisparoEnemigo(int) {}
void timerRevivir(int) {}
void timerSalida(int) {}
