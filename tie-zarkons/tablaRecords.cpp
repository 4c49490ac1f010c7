// The best-score table of Tie Zarkons: each game that reaches its won or lost
// screen goes in once, and the screen shows the best score under its question.
#include "globales.h"

#include "drawString.h"
#include "records.h"

#include <cstdio>

static const char* const kJuego = "tie-zarkons";

void registrarFinal()
{
    if (partidaRegistrada || (state != 3 && state != 4))
        return;
    partidaRegistrada = true;
    rec_table_t tabla;
    int puesto = -1;
    // records off: the end screen stays as it always was
    if (rec_add(kJuego, puntos, state == 4 ? "ganada" : "perdida", &tabla, &puesto) &&
        !tabla.entries.empty()) {
        hayMejorPuntaje = true;
        mejorPuntaje = tabla.entries[0].score;
    }
}

void drawMejorPuntaje()
{
    if (!hayMejorPuntaje)
        return;
    char texto[48];
    snprintf(texto, sizeof texto, "Mejor puntaje: %ld", mejorPuntaje);
    drawString(texto, -19, -62, 9);
}
