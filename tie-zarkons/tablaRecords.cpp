// The best-score table of Tie Zarkons: each game that reaches its won or lost
// screen goes in once, with the points won in that game alone (the score on
// screen carries over from game to game), and the screen shows the best score
// and this game's under its question.
#include "globales.h"
#include "idioma.h"

#include "drawString.h"
#include "records.h"

#include <cstdio>

static const char* const kJuego = "tie-zarkons";

static bool hayTabla = false;    // the table was read for this game's end
static long puntosPartida = 0;   // what this game won
static bool entro = false;       // and it made the table

void registrarFinal()
{
    if (partidaRegistrada || (state != 3 && state != 4))
        return;
    partidaRegistrada = true;
    puntosPartida = (long)puntos - puntosInicio;
    rec_table_t tabla;
    int puesto = -1;
    // records off: the end screen stays as it always was
    hayTabla = rec_add(kJuego, puntosPartida, state == 4 ? "ganada" : "perdida", &tabla, &puesto);
    entro = puesto >= 0;
    hayMejorPuntaje = hayTabla && !tabla.entries.empty();
    if (hayMejorPuntaje)
        mejorPuntaje = tabla.entries[0].score;
}

void drawMejorPuntaje()
{
    if (!hayTabla)
        return;
    char texto[80];
    if (hayMejorPuntaje) {
        snprintf(texto, sizeof texto, zk_tr("Mejor puntaje: %ld"), mejorPuntaje);
        drawString(texto, -19, -62, 9);
    }
    snprintf(texto, sizeof texto, zk_tr("Esta partida: %ld%s"), puntosPartida,
             entro ? "" : zk_tr(" (no entr\xF3 en la tabla)"));
    drawString(texto, -19, -72, 7);
}
