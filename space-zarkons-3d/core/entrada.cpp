// Input: keys, arrows, the left-button camera move and the popup menu.
#include "globales.h"
#include "idioma.h"

#include "Camara.h"
#include "Disparo.h"
#include "Nave1.h"
#include "settings.h"

#include <GL/freeglut.h>

#include <cassert>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <exception>

// A camera move takes at most this many runs of timerCamara.
static const int kPasosCamara = 50;

// The mouse move's own per-run steps: the fly-in keeps the camera's, so a
// click during the fly-in cannot stall it.
static float pasoCamara[3] = {0.0f, 0.0f, 0.0f};
static int corridasCamara = 0;          // runs of the current move so far
static bool camaraEnMovimiento = false; // a timerCamara chain is armed
// Full screen is on, and where the window stood before it.
static bool enPantallaCompleta = false;
static int ventanaAntes[2] = {0, 0};

static void alternar(bool& b)
{
    b = !b;
}

// The speed controls share these: never below 2 ms, so fps never divides by 0.
static void acelerar()
{
    if (periodo > 2) {
        periodo -= 1;
        fps = 1000 / periodo;
        redibujarVentana(ventanaScore);
    }
}

static void frenar()
{
    if (periodo < INT_MAX)
        periodo += 1;
    fps = 1000 / periodo;
    redibujarVentana(ventanaScore);
}

// Full screen is a top-level window's: the key may come from the score strip.
// The second press puts the window back at the size it had (freeglut keeps
// that) and where it was.
static void entrarPantallaCompleta()
{
    ventanaAntes[0] = glutGet(GLUT_WINDOW_X);
    ventanaAntes[1] = glutGet(GLUT_WINDOW_Y);
    enPantallaCompleta = true;
    // without a window manager freeglut only makes the window as big as
    // the screen, where it stands: from the corner it covers it all
    glutPositionWindow(0, 0);
    glutFullScreen();
}

static void pantallaCompleta()
{
    activarVentanaPrincipal();
    if (!enPantallaCompleta) {
        entrarPantallaCompleta();
        zk_settings_set_fullscreen(true);
        return;
    }
    enPantallaCompleta = false;
    glutLeaveFullScreen();
    glutPositionWindow(ventanaAntes[0], ventanaAntes[1]);
    zk_settings_set_fullscreen(false);
}

void empezarEnPantallaCompleta()
{
    entrarPantallaCompleta();
}

void keyboard(unsigned char key, int, int)
{
    if (key == 27)
        salirDelJuego();
    // after a won fly-out only Intro acts (and Escape): the next wave
    if (finPorVictoria) {
        if (key == '\r' || key == '\n')
            siguienteOleada();
        return;
    }
    // Intro (Return) after a lost game: the next one starts with its fly-in
    if ((key == '\r' || key == '\n') && puedeJugarDeNuevo()) {
        jugarDeNuevo();
        return;
    }
    switch (key) {
    case ' ':
    case 'd':
    case 'D':
        teclaDisparo = true;
        break;
    case 'p':
    case 'P':
        alternarPausa();
        break;
    case 'o':
    case 'O':
        camara->setOrtho(!camara->getOrtho());
        break;
    case 'w':
    case 'W':
        alternar(wireframe);
        break;
    case 'f':
    case 'F':
        pantallaCompleta();
        break;
    case 'i':
    case 'I':
        alternar(facetado);
        break;
    case 'c':
    case 'C':
        Nave1::usarModeloAbierto();
        break;
    case 'r':
    case 'R':
        Nave1::usarModeloChico();
        break;
    case 's':
    case 'S':
        alternarScore();
        break;
    case '-':
        frenar();
        break;
    case '+':
        acelerar();
        break;
    case 'm':
    case 'M':
        alternarSonido();
        break;
    default:
        break;
    }
    aplicarTeclas();
    // on screen at once even when the next tick is far off (a slow game)
    redibujarVentana(ventanaPrincipal);
}

void keyboardUp(unsigned char key, int, int)
{
    switch (key) {
    case ' ':
    case 'd':
    case 'D':
        teclaDisparo = false;
        break;
    case '+':
        // the release shortens the period once more, silently (not at the
        // table after a win, where the press did nothing)
        if (periodo > 2 && !finPorVictoria)
            periodo -= 1;
        break;
    default:
        break;
    }
    if (pausa == 0)
        aplicarTeclas();
    redibujarVentana(ventanaPrincipal);
}

void special(int key, int, int)
{
    if (finPorVictoria || pausa == 1)
        return;
    switch (key) {
    case GLUT_KEY_UP:
        teclaArriba = true;
        break;
    case GLUT_KEY_DOWN:
        teclaAbajo = true;
        break;
    case GLUT_KEY_RIGHT:
        teclaDerecha = true;
        break;
    case GLUT_KEY_LEFT:
        teclaIzquierda = true;
        break;
    default:
        break;
    }
    aplicarTeclas();
    redibujarVentana(ventanaPrincipal);
}

void specialUp(int key, int, int)
{
    switch (key) {
    case GLUT_KEY_UP:
        teclaArriba = false;
        break;
    case GLUT_KEY_DOWN:
        teclaAbajo = false;
        break;
    case GLUT_KEY_RIGHT:
        teclaDerecha = false;
        break;
    case GLUT_KEY_LEFT:
        teclaIzquierda = false;
        break;
    default:
        break;
    }
    if (pausa == 0)
        aplicarTeclas();
    redibujarVentana(ventanaPrincipal);
}

// Held keys act once per key event; the ship stays within x ±31 and y ±26.
void aplicarTeclas()
{
    assert(nave != nullptr);
    if (teclaIzquierda && nave->getX() > -31.0f)
        nave->moverIzquierda();
    if (teclaDerecha && nave->getX() < 31.0f)
        nave->moverDerecha();
    if (teclaAbajo && nave->getY() > -26.0f)
        nave->moverAbajo();
    if (teclaArriba && nave->getY() < 26.0f)
        nave->moverArriba();
    if (teclaDisparo && !gameOver && !naveDestruida) {
        // the first shot compiles the missile model into the current context
        activarVentanaPrincipal();
        Disparo* disparo = nullptr;
        try {
            disparo = nave->disparar();
        } catch (const std::exception&) {
            salirSinModelos();
        }
        if (disparo != nullptr) {
            disparos.push_back(disparo);
            sonarEn(SONIDO_DISPARO, disparo);
        }
    }
}

void limpiarTeclas()
{
    teclaArriba = teclaAbajo = teclaDerecha = teclaIzquierda = false;
    teclaDisparo = false;
}

// The left button orbits the eye on the sphere of radius 43 around the
// look-at centre (0, 0, 40); the drag scales are fixed, whatever the window.
void mouse(int button, int state, int x, int y)
{
    if (button != GLUT_LEFT_BUTTON)
        return;
    if (state == GLUT_DOWN) {
        clickX = (float)x;
        clickY = (float)y;
        return;
    }
    if (state != GLUT_UP)
        return;
    assert(camara != nullptr);
    float dx = (float)(((float)x - clickX) * 86.0 / 640.0);
    float dy = (float)((clickY - (float)y) * 86.0 / 480.0);
    float destX = camara->getOjoX() + dx;
    float destY = camara->getOjoY() + dy;
    if (std::fabs(destX) >= 43.0f || std::fabs(destY) >= 43.0f)
        return;
    float d = 6400.0f - 4.0f * (destX * destX + destY * destY + 1600.0f - 1849.0f);
    if (!(d >= 0.0f))
        return;
    float destZ = (std::sqrt(d) + 80.0f) / 2.0f;

    destinoCamara[0] = destX;
    destinoCamara[1] = destY;
    destinoCamara[2] = destZ;
    pasoCamara[0] = (destX - camara->getOjoX()) / kPasosCamara;
    pasoCamara[1] = (destY - camara->getOjoY()) / kPasosCamara;
    pasoCamara[2] = (destZ - camara->getOjoZ()) / kPasosCamara;
    corridasCamara = 0;
    // the move's own pause, which shows nothing; a pause the player (or a
    // hidden window) brought stays as it is, "Pausa" and all
    if (!(pausa == 1 && pausaVisible)) {
        pausa = 1;
        pausaVisible = false;
    }
    // a release during a move retargets it; a second chain would never stop
    if (!camaraEnMovimiento) {
        camaraEnMovimiento = true;
        armarTimer(CADENA_CAMARA, 30, timerCamara);
    }
}

void timerCamara(int valor)
{
    assert(camara != nullptr);
    if (!timerVigente(CADENA_CAMARA, valor))
        return;
    camara->setOjoX(camara->getOjoX() + pasoCamara[0]);
    camara->setOjoY(camara->getOjoY() + pasoCamara[1]);
    camara->setOjoZ(camara->getOjoZ() + pasoCamara[2]);
    corridasCamara++;
    bool lejos = std::fabs(camara->getOjoX() - destinoCamara[0]) > 1.0f ||
                 std::fabs(camara->getOjoY() - destinoCamara[1]) > 1.0f ||
                 std::fabs(camara->getOjoZ() - destinoCamara[2]) > 1.0f;
    // the fly-in may be moving the eye too: the move still ends on its 50th run
    if (lejos && corridasCamara < kPasosCamara) {
        armarTimer(CADENA_CAMARA, 30, timerCamara);
        redibujarVentana(ventanaPrincipal);
    } else {
        camaraEnMovimiento = false;
        // only the move's own pause ends with it
        if (!(pausa == 1 && pausaVisible))
            reanudar();
    }
}

void detenerCamara()
{
    // the chain still armed is retired by the new game's number
    camaraEnMovimiento = false;
    corridasCamara = 0;
}

// Labels are Windows-1252 bytes; 0xF3 is the o with an acute accent.
void crearMenus()
{
    int principal = glutCreateMenu(menuPrincipal);
    int proyeccion = glutCreateMenu(menuProyeccion);
    int velocidad = glutCreateMenu(menuVelocidad);
    int luces = glutCreateMenu(menuLuces);

    glutSetMenu(luces);
    glutAddMenuEntry(zk_tr("Prender Luz 1"), 0);
    glutAddMenuEntry(zk_tr("Prender Luz 2"), 1);
    glutAddMenuEntry(zk_tr("Prender Luz 3"), 2);
    glutAddMenuEntry(zk_tr("Apagar Luz 1"), 3);
    glutAddMenuEntry(zk_tr("Apagar Luz 2"), 4);
    glutAddMenuEntry(zk_tr("Apagar Luz 3"), 5);

    glutSetMenu(proyeccion);
    glutAddMenuEntry(zk_tr("Ortogonal"), 0);
    glutAddMenuEntry(zk_tr("Perspectiva"), 1);

    glutSetMenu(velocidad);
    glutAddMenuEntry(zk_tr("Aumentar (+)"), 1);
    glutAddMenuEntry(zk_tr("Disminuir (-)"), 2);
    glutAddMenuEntry(zk_tr("Pausa (p)"), 0);

    glutSetMenu(principal);
    glutAddMenuEntry(zk_tr("Wireframe (w)"), 0);
    glutAddMenuEntry(zk_tr("Facetado/Interpolado (i)"), 4);
    glutAddMenuEntry(zk_tr("Score (s)"), 2);
    glutAddMenuEntry(zk_tr("Full Screen (f)"), 1);
    glutAddSubMenu(zk_tr("Proyecci\xF3n (o)"), proyeccion);
    glutAddSubMenu(zk_tr("Velocidad "), velocidad);
    glutAddSubMenu(zk_tr("Luces "), luces);
    glutAddMenuEntry(zk_tr("Salir"), 3);

    activarVentanaPrincipal();
    glutAttachMenu(GLUT_RIGHT_BUTTON);
}

void menuPrincipal(int value)
{
    switch (value) {
    case 0:
        alternar(wireframe);
        break;
    case 4:
        alternar(facetado);
        break;
    case 2:
        alternarScore();
        break;
    case 1:
        pantallaCompleta();
        break;
    case 3:
        salirDelJuego();
    default:
        break;
    }
    redibujarVentana(ventanaPrincipal);
}

void menuProyeccion(int value)
{
    if (value == 0)
        camara->setOrtho(true);
    else if (value == 1)
        camara->setOrtho(false);
    redibujarVentana(ventanaPrincipal);
}

void menuVelocidad(int value)
{
    switch (value) {
    case 1:
        acelerar();
        break;
    case 2:
        frenar();
        break;
    case 0:
        alternarPausa();
        // the pause shows at once, even in a slow game
        redibujarVentana(ventanaPrincipal);
        break;
    default:
        break;
    }
}

// The lights belong to the main window's context.
void menuLuces(int value)
{
    static const GLenum luces[] = {GL_LIGHT0, GL_LIGHT1, GL_LIGHT2};
    if (value < 0 || value > 5)
        return;
    activarVentanaPrincipal();
    if (value < 3)
        glEnable(luces[value]);
    else
        glDisable(luces[value - 3]);
    redibujarVentana(ventanaPrincipal);
}
