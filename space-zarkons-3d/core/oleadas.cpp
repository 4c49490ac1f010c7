// Waves: after a win the player may go on to the next wave, a little harder
// than the one before, with the score and the lives carried over.
#include "globales.h"
#include "idioma.h"

#include <GL/freeglut.h>

#include <cassert>
#include <cstdio>
#include <cstdlib>
#include <cstring>

// --- constants ---

// How each wave plays. The first row is the game as it always was; every
// later wave asks a little more of the player, in three ways at once:
//   - the formation sweeps and creeps 12% faster, so it arrives sooner
//     (about 28 s of play in wave 1, 18 s in wave 5);
//   - the volleys come 120 ms sooner (two more a minute, roughly);
//   - each ship fires in a volley one time in 9, 8, 7, ...
// Enemy shots a minute so grow from about 45 in wave 1 to 100 in wave 5,
// while the time to clear the formation shrinks by a third: a player who
// clears wave 1 by firing at will must aim and dodge by wave 3, and wave 5
// is for a good player. From wave 6 on the table ends: volleys one in 4
// and every 1400 ms are already a storm, and only the formation's speed
// would be left to raise.
//
//   wave   steps   volley ms   one in
//    1     x1.00     2000        9
//    2     x1.12     1880        8
//    3     x1.25     1760        7
//    4     x1.40     1640        6
//    5     x1.57     1520        5
//    6+    x1.76     1400        4
static const Dificultad kRampa[] = {
    {1.0f, 2000, 9},
    {1.12f, 1880, 8},
    {1.2544f, 1760, 7},
    {1.404928f, 1640, 6},
    {1.57351936f, 1520, 5},
    {1.7623416832f, 1400, 4},
};
static const int kFilasRampa = (int)(sizeof kRampa / sizeof kRampa[0]);

// --- public functions ---

const Dificultad& dificultad(int n)
{
    assert(n >= 1);
    return kRampa[(n < kFilasRampa ? n : kFilasRampa) - 1];
}

void siguienteOleada()
{
    assert(finPorVictoria);
    // a new wave is a new game of its own for the timers, with what the
    // player won in the waves before
    const int puntos = puntaje;
    const int quedan = vidas;
    oleada++;
    finPorVictoria = false;
    empezarDeNuevo();
    puntaje = puntos;
    vidas = quedan;
}

const char* nombreDelFin(const char* fin, char* s, size_t n)
{
    assert(fin != nullptr && s != nullptr && n > 0);
    if (oleada == 1 && strcmp(fin, "ganada") != 0)
        return fin;
    snprintf(s, n, "oleada-%d", oleada);
    return s;
}

void salirDelJuego()
{
    // left after a win: the game ends here, and is recorded with its wave
    if (finPorVictoria)
        registrarPartida("ganada");
    exit(0);
}

// Big and yellow in the upper third while the fly-in of a later wave runs;
// the first wave's fly-in shows nothing, as it always did.
void dibujarOleada()
{
    if (oleada < 2 || cadenasArmadas(CADENA_INTRO) == 0 || gameOver)
        return;
    char s[24];
    snprintf(s, sizeof s, zk_tr("Oleada %d"), oleada);
    void* fuente = GLUT_BITMAP_TIMES_ROMAN_24;
    const int ancho = glutBitmapLength(fuente, (const unsigned char*)s);
    empezarPlano();
    glColor3f(1.0f, 1.0f, 0.0f);
    glRasterPos2i((width - ancho) / 2, height * 2 / 3);
    glutBitmapString(fuente, (const unsigned char*)s);
    terminarPlano();
}
