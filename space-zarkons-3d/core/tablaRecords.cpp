// The best-score table: the game's end goes into it, and it is drawn over
// the scene while the game is over and for a moment after a won fly-out.
#include "globales.h"
#include "idioma.h"

#include "records.h"

#include <GL/freeglut.h>
#include <GL/glu.h>

#include <cassert>
#include <cstdio>
#include <cstdlib>
#include <cstring>

static const char* const kJuego = "space-zarkons-3d";
// How long the table waits after the fly-out for Intro or Escape.
static const unsigned kMsTablaFinal = 20000;
static const int kAltoFila = 20;
static const int kAnchoTabla = 390;

static bool registrada = false;   // this run's end is in the table (at most once)
static rec_table_t tabla;         // the table as it was written
static int puesto = -1;           // place of this run's record, -1 if it did not make it
static long puntajeFinal = 0;     // the score recorded

static void fila(int x, int y, const char* s)
{
    glRasterPos2i(x, y);
    for (const char* c = s; *c != '\0'; c++)
        glutBitmapCharacter(GLUT_BITMAP_9_BY_15, (unsigned char)*c);
}

void registrarPartida(const char* como)
{
    assert(como != nullptr);
    if (registrada)
        return;
    registrada = true;
    puntajeFinal = puntaje;
    char nombre[24];
    // records off: the game over looks as it always did
    mostrarRecords = rec_add(kJuego, puntajeFinal, nombreDelFin(como, nombre, sizeof nombre), &tabla, &puesto);
    redibujarVentana(ventanaPrincipal);
}

// The line under the table after a lost game, and after a won wave: what
// the two keys do now.
static const char* const kOtraPartida = ZK_N("Intro: jugar otra vez   Escape: salir");
static const char* const kSiguienteOleada = ZK_N("Intro: siguiente oleada   Escape: salir");

// The keys' line under the table, if the two keys act now.
static const char* teclasTabla()
{
    return puedeJugarDeNuevo() ? zk_tr(kOtraPartida) : finPorVictoria ? zk_tr(kSiguienteOleada) : nullptr;
}

// Height of the table's pane, in pixels: its rows, the score's line (two
// when it did not make it), the keys' line and the wave won.
static int altoTabla(const char* teclas)
{
    const int filas = (int)tabla.entries.size() + (puesto < 0 ? 2 : 1) + (teclas ? 1 : 0) +
                      (finPorVictoria ? 1 : 0);
    return 24 + kAltoFila * filas;
}

void dibujarRecords()
{
    const char* teclas = teclasTabla();
    if (!mostrarRecords && teclas == nullptr)
        return;
    char s[96];
    snprintf(s, sizeof s, zk_tr("Oleada %d superada"), oleada);
    empezarPlano();
    if (!mostrarRecords) {
        // records off: the keys' line alone, where the table would stand,
        // under the wave won
        if (finPorVictoria) {
            glColor3f(1.0f, 1.0f, 0.0f);
            fila((width - 9 * (int)strlen(s)) / 2, height / 2 + kAltoFila, s);
        }
        glColor3f(0.6f, 0.8f, 1.0f);
        fila((width - 9 * (int)strlen(teclas)) / 2, height / 2, teclas);
        terminarPlano();
        return;
    }
    const int alto = altoTabla(teclas);
    const int x0 = (width - kAnchoTabla) / 2;
    const int y0 = (height + alto) / 2; // top edge
    // a dark pane, so the table reads over the stars and the ships
    glColor4f(0.0f, 0.0f, 0.15f, 0.8f);
    glRecti(x0, y0 - alto, x0 + kAnchoTabla, y0);
    glColor3f(0.3f, 0.3f, 1.0f);
    glBegin(GL_LINE_LOOP);
        glVertex2i(x0, y0 - alto);
        glVertex2i(x0 + kAnchoTabla, y0 - alto);
        glVertex2i(x0 + kAnchoTabla, y0);
        glVertex2i(x0, y0);
    glEnd();

    int y = y0 - 22;
    glColor3f(1.0f, 1.0f, 0.0f);
    if (finPorVictoria) {
        fila(x0 + 12, y, s);
        y -= kAltoFila;
    }
    fila(x0 + 12, y, zk_tr("Mejores puntajes"));
    for (size_t i = 0; i < tabla.entries.size(); i++) {
        const rec_entry_t& e = tabla.entries[i];
        const bool nueva = (int)i == puesto;
        y -= kAltoFila;
        // date and minute are enough to find a game again
        snprintf(s, sizeof s, "%2d. %7ld  %.10s %.5s  %.12s %s", (int)i + 1, e.score,
                 e.when.c_str(), e.when.c_str() + 11, e.how.c_str(), nueva ? "<" : "");
        if (nueva)
            glColor3f(1.0f, 1.0f, 0.0f);
        else
            glColor3f(1.0f, 1.0f, 1.0f);
        fila(x0 + 12, y, s);
    }
    if (puesto < 0) {
        y -= kAltoFila;
        // after a won wave nothing is recorded yet: the score, plainly
        if (finPorVictoria)
            snprintf(s, sizeof s, zk_tr("Tu puntaje: %ld"), puntajeFinal);
        else
            snprintf(s, sizeof s, zk_tr("Tu puntaje: %ld (no entr\xF3 en la tabla)"), puntajeFinal);
        glColor3f(1.0f, 1.0f, 0.0f);
        fila(x0 + 12, y, s);
    }
    if (teclas) {
        y -= kAltoFila;
        glColor3f(0.6f, 0.8f, 1.0f);
        fila(x0 + 12, y, teclas);
    }
    terminarPlano();
}

int bordeRecords()
{
    const char* teclas = teclasTabla();
    if (!mostrarRecords && teclas == nullptr)
        return -1;
    // the keys' line alone (under the wave won): its 15-pixel font stands on
    // the middle row
    if (!mostrarRecords)
        return height / 2 + 12 + (finPorVictoria ? kAltoFila : 0);
    return (height + altoTabla(teclas)) / 2;
}

void terminarTrasSalida()
{
    // The game goes on if the player wants the next wave, so nothing is
    // recorded yet: the table shows as it stands, with this game's score
    // under it. With no table yet (or records off) the wave and the keys
    // show alone.
    std::string ruta, porque;
    tabla = rec_table_t();
    mostrarRecords = rec_path(kJuego, &ruta, &porque) && rec_load(ruta, &tabla, &porque) &&
                     !tabla.entries.empty();
    puesto = -1;
    puntajeFinal = puntaje;
    finPorVictoria = true;
    armarTimer(CADENA_FIN_VICTORIA, kMsTablaFinal, timerFinVictoria);
    redibujarVentana(ventanaPrincipal);
}

void timerFinVictoria(int valor)
{
    if (timerVigente(CADENA_FIN_VICTORIA, valor))
        salirDelJuego();
}

void olvidarPartida()
{
    registrada = false;
    mostrarRecords = false;
    tabla = rec_table_t();
    puesto = -1;
    puntajeFinal = 0;
}
