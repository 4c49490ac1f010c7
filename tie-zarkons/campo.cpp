// The play field: the formation, the X-Wing, the shots, the walls, the score
// and the order in which one play frame tests, scores and draws.
#include "globales.h"
#include "idioma.h"

#include "drawString.h"

#include <GL/freeglut.h>

#include <cassert>
#include <cmath>
#include <cstdio>
#include <cstdlib>

// --- constants ---
static const float kTechoDescenso = -20.0f;  // the formation's top row stops here
static const float kTopeXWing = 80.0f;       // X-Wing shots vanish past this y
static const float kFondoTie = -80.0f;       // Tie shots vanish past this y
static const double kProbDisparo = 0.01;     // chance that one Tie fires in a frame

// --- helpers ---

// Ship materials: a grey ambient the colour material then replaces.
static void materialNave()
{
    glMaterialfv(GL_FRONT, GL_AMBIENT, mat_ambient);
    glMaterialfv(GL_FRONT, GL_DIFFUSE, mat_diffuse);
    glMaterialfv(GL_FRONT, GL_SPECULAR, mat_specular);
    glMaterialf(GL_FRONT, GL_SHININESS, high_shininess);
    glMaterialfv(GL_FRONT, GL_EMISSION, no_mat);
}

// Materials of shots, walls and the energy bar: no ambient of their own.
static void materialPlano()
{
    glMaterialfv(GL_FRONT, GL_AMBIENT, no_mat);
    glMaterialfv(GL_FRONT, GL_DIFFUSE, mat_diffuse);
    glMaterialfv(GL_FRONT, GL_SPECULAR, mat_specular);
    glMaterialf(GL_FRONT, GL_SHININESS, high_shininess);
    glMaterialfv(GL_FRONT, GL_EMISSION, no_mat);
}

// The C library's rand() may reach far beyond 32767 here, so the draw is
// folded to 0...32767 and compared in floating point: one chance in a hundred.
static bool tieDispara()
{
    const int r = rand() % 32768;
    return (double)r / 32767.0 < kProbDisparo;
}

// One step of the formation's march, stepping down at each reversal.
static void marcharFormacion()
{
    if (pos_tie.direccion == 0) {
        if (pos_tie.x > -pos_tie.limite) {
            pos_tie.x -= 1.0f;
        } else {
            if (pos_tie.y > kTechoDescenso)
                pos_tie.y -= 1.0f;
            pos_tie.direccion = 1;
            pos_tie.x += 1.0f;
        }
    } else {
        if (pos_tie.x < pos_tie.limite - (kColumnas - 1) * kPasoTie) {
            pos_tie.x += 1.0f;
        } else {
            if (pos_tie.y > kTechoDescenso)
                pos_tie.y -= 1.0f;
            pos_tie.direccion = 0;
            pos_tie.x -= 1.0f;
        }
    }
}

// Shots fly one unit a tick and are spent once they leave the field.
static void moverDisparos()
{
    for (int i = 0; i < kDisparos; i++) {
        if (sXWing[i].activo) {
            if (sXWing[i].y < kTopeXWing)
                sXWing[i].y += 1.0f;
            else
                sXWing[i].activo = false;
        }
        if (sTie[i].activo) {
            if (sTie[i].y > kFondoTie)
                sTie[i].y -= 1.0f;
            else
                sTie[i].activo = false;
        }
    }
}

// --- public functions ---

void reiniciarCampo()
{
    for (int i = 0; i < kEnemys; i++)
        enemys[i] = true;
    for (int i = 0; i < kDisparos; i++) {
        sXWing[i] = shoot{0.0f, 0.0f, false};
        sTie[i] = shoot{0.0f, 0.0f, false};
    }
    xWingStat = estadoXWing{0.0f, -70.0f, kEnergia};
    pos_tie = posicionTie{-32.0f, 50.0f, 0, 80.0f};
    for (int i = 0; i < kEnergia; i++)
        energia[i] = cubito{4.0f * i - 97.0f, 73.0f, true};
    defBloques(0, 25, -40);
    defBloques(24, -25, -40);
    defBloques(48, -75, -40);
    defBloques(72, 75, -40);
}

void defCubito(int index, int x, int y)
{
    assert(index >= 0 && index + 3 < kBloques);
    bloques[index] = cubito{x + 2.0f, y + 2.0f, true};
    bloques[index + 1] = cubito{x - 2.0f, y + 2.0f, true};
    bloques[index + 2] = cubito{x + 2.0f, y - 2.0f, true};
    bloques[index + 3] = cubito{x - 2.0f, y - 2.0f, true};
}

void defBloques(int index, int x, int y)
{
    assert(index >= 0 && index + 23 < kBloques);
    // a raised middle pair of columns and two lower outer pairs: an arch
    defCubito(index, x, y);
    defCubito(index + 4, x, y + 8);
    defCubito(index + 8, x - 8, y);
    defCubito(index + 12, x - 8, y - 8);
    defCubito(index + 16, x + 8, y);
    defCubito(index + 20, x + 8, y - 8);
}

float distancia(float a, float b)
{
    return std::fabs(a - b);
}

bool collision(float x, float y, shoot* s, float dx, float dy)
{
    assert(s != nullptr);
    for (int i = 0; i < kDisparos; i++) {
        if (s[i].activo && distancia(s[i].x, x) < dx && distancia(s[i].y, y) < dy) {
            // a shot is spent at its first hit
            s[i].activo = false;
            return true;
        }
    }
    return false;
}

void dispararTie(float x, float y)
{
    for (int i = 0; i < kDisparos; i++) {
        if (!sTie[i].activo) {
            sTie[i] = shoot{x, y - 5.0f, true};
            sonar(SONIDO_DISPARO_TIE, x);
            return;
        }
    }
}

void dispararXWing()
{
    for (int i = 0; i < kDisparos; i++) {
        if (!sXWing[i].activo) {
            sXWing[i] = shoot{xWingStat.x, xWingStat.y + 10.0f, true};
            sonar(SONIDO_DISPARO_XWING, xWingStat.x);
            return;
        }
    }
}

void drawPuntos()
{
    char texto[32];
    glColor3f(1.0f, 1.0f, 0.0f);
    snprintf(texto, sizeof texto, zk_tr("PUNTOS %i"), puntos);
    drawString(texto, 50, 70, 7);
    drawString(zk_tr("Presione 'H' para ayuda"), 41, 65, 5);
}

void drawEnergia()
{
    glColor3f(1.0f, 1.0f, 0.0f);
    drawString(zk_tr("ENERGIA"), -97, 75, 4);
}

void contarTiempoDisparo()
{
    if (state == 2)
        tiempoDisparo++;
}

void avanzarMundo()
{
    // the formation marches behind every screen, the shots only in play
    marcharFormacion();
    if (state == 2)
        moverDisparos();
}

void dibujarCampo()
{
    crearModelos();
    // Smooth lines only where lines are drawn: the texts, the Ties' window
    // frames and every polygon when they are drawn as lines. Filled polygons
    // look the same either way, and the software renderer draws everything
    // far slower while it is on.
    if (relleno)
        glDisable(GL_LINE_SMOOTH);

    // Formation. A Tie counts as alive before its hit test, so the frame that
    // kills the last one still sees the formation standing.
    bool alguienVivo = false;
    bool quedanTies = false;
    float enFila[2 * kTies];
    int enPie = 0;
    for (int fila = 0; fila < kFilas; fila++) {
        for (int col = 0; col < kColumnas; col++) {
            const int i = fila * kColumnas + col;
            if (!enemys[i])
                continue;
            const float x = pos_tie.x + kPasoTie * col;
            const float y = pos_tie.y - kPasoTie * fila;
            if (tieDispara())
                dispararTie(x, y);
            alguienVivo = true;
            if (collision(x, y, sXWing, 4.7f, 8.2f)) {
                enemys[i] = false;
                puntos += 200;
                sonar(SONIDO_TIE_DESTRUIDO, x);
                continue;
            }
            quedanTies = true;
            if (relleno) {
                enFila[2 * enPie] = x;
                enFila[2 * enPie + 1] = y;
                enPie++;
                continue;
            }
            glPushMatrix();
                glTranslatef(x, y, 0.0f);
                glRotatef(15.0f, 1.0f, 0.0f, 0.0f);
                materialNave();
                glCallList(listaTie);
            glPopMatrix();
        }
    }
    // Filled, the bodies go out together, then the window frames, Tie after
    // Tie as their lists draw them; the Ties stand apart, so nothing of one
    // is drawn over another in either order.
    if (enPie > 0) {
        materialNave();
        dibujarTies(enFila, enPie, true);
    }

    glEnable(GL_LINE_SMOOTH);
    drawPuntos();
    drawEnergia();
    if (relleno)
        glDisable(GL_LINE_SMOOTH);

    if (!alguienVivo)
        state = 4;

    // At most one energy unit a frame: a second shot waits for the next one.
    const float xx = xWingStat.x, xy = xWingStat.y;
    if (collision(xx, xy + 7.0f, sTie, 3.0f, 7.0f) ||
        collision(xx, xy - 5.0f, sTie, 12.0f, 3.5f)) {
        xWingStat.energia -= 1;
        sonar(SONIDO_IMPACTO_XWING, xx);
    }

    if (xWingStat.energia <= 0) {
        // Whoever brought the formation down wins, even on their last unit.
        state = quedanTies ? 3 : 4;
    } else {
        glPushMatrix();
            glTranslatef(xx, xy, 0.0f);
            glRotatef(90.0f, 1.0f, 0.0f, 0.0f);
            glRotatef(180.0f, 0.0f, 1.0f, 0.0f);
            materialNave();
            if (relleno)
                dibujarXWing();
            else
                glCallList(listaXWing);
        glPopMatrix();
    }
    // the frame that ends the game: one end screen, one sound
    if (state == 3 || state == 4)
        sonar(state == 4 ? SONIDO_VICTORIA : SONIDO_DERROTA_TIE, 0.0f);

    for (int i = 0; i < kDisparos; i++) {
        if (sXWing[i].activo) {
            glPushMatrix();
                glColor3f(1.0f, 1.0f, 0.0f);
                glTranslatef(sXWing[i].x, sXWing[i].y, 0.0f);
                materialPlano();
                glCallList(listaDisparoXWing);
            glPopMatrix();
        }
        if (sTie[i].activo) {
            glPushMatrix();
                glColor3f(0.0f, 1.0f, 0.0f);
                glTranslatef(sTie[i].x, sTie[i].y, 0.0f);
                materialPlano();
                glCallList(listaDisparoTie);
            glPopMatrix();
        }
    }

    // Filled, the walls go as one run of quads, each cube moved to its place
    // by hand: a matrix change per cube would make 96 draws of the software
    // renderer's dearest kind out of one. As lines, the cubes' shared edges
    // lie exactly on one another, and only the list's own arithmetic keeps
    // which of two shows.
    glColor3f(0.5f, 0.2f, 0.7f);
    materialPlano();
    if (relleno)
        glBegin(GL_QUADS);
    for (int i = 0; i < kBloques; i++) {
        if (!bloques[i].vivo)
            continue;
        const float x = bloques[i].x, y = bloques[i].y;
        if (collision(x, y, sXWing, 2.3f, 5.0f) || collision(x, y, sTie, 2.3f, 5.0f)) {
            bloques[i].vivo = false;
            continue;
        }
        if (relleno) {
            verticesCubo(x, y);
            continue;
        }
        glPushMatrix();
            glTranslatef(x, y, 0.0f);
            glCallList(listaCubo);
        glPopMatrix();
    }
    if (relleno)
        glEnd();

    for (int j = 0; j < xWingStat.energia && j < kEnergia; j++) {
        glPushMatrix();
            glTranslatef(energia[j].x, energia[j].y, 0.0f);
            materialPlano();
            glColor3f(1.0f, 1.0f, 0.0f);
            glutSolidCube(2.0);
        glPopMatrix();
    }
    // the other screens are all text
    glEnable(GL_LINE_SMOOTH);
}
