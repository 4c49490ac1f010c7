// The program's skeleton: OpenGL set-up, the view, the frame loop, the
// screens of each game state and every key and mouse binding.
#include "globales.h"
#include "idioma.h"

#include "drawString.h"
#include "settings.h"
#include "sound.h"

#include <GL/freeglut.h>
#include <GL/glx.h>

#include <cassert>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

// --- constants ---

// Latin-1 bytes, written as escapes so no editor can re-encode them.
static const char* const kInstrucciones[7] = {
    ZK_N("\nInstrucciones:\n"),
    ZK_N("   Las teclas de flecha rotan el objeto.\n"),
    ZK_N("   La tecla de Inicio restaura el objeto a su orientacion original.\n"),
    ZK_N("   La tecla 'A' comienza y detiene la animacion.\n"),
    ZK_N("        (Las teclas Arrow y Home no funcionan durante la animacion.)\n"),
    ZK_N("   La tecla 'P' cambia entre proyeccci\xF3n en perspectiva y ortografica.\n"),
    ZK_N("   The Escape key ends the program.\n\n")};

static const char* const kAyuda[13] = {
    ZK_N("Flechas derecha e izquierda: mover la nave"),
    ZK_N("'M': disparar"),
    ZK_N("Boton izquierdo del rat\xF3n y moverlo: cambiar el punto de vista"),
    ZK_N("'Inicio': volver al punto de vista por defecto"),
    ZK_N("'A': pausa"),
    ZK_N("'+': acercar al centro"),
    ZK_N("'-': alejar desde el centro"),
    ZK_N("'P': cambiar entre vista de perspectiva y ortogonal"),
    ZK_N("'R': dibujar los pol\xEDgonos con o sin relleno"),
    ZK_N("'F': pantalla completa o ventana"),
    ZK_N("'Escape': salir"),
    ZK_N("'V': sonido o silencio"),
    ZK_N("Mando: cruceta o palanca: mover, sur: disparar, Start: pausa")};

static const float kEscalaMin = 0.2f;
static const float kEscalaMax = 1.6f;
static const float kPasoEscala = 0.2f;
// Delay from a frame to its tick. With the swap waiting for the refresh, the
// tick follows at once; without it the game would run as fast as it can draw,
// so the frame (begun when the timer is armed) gets a 60 Hz share instead.
static const int kRetardoSincronizado = 1;
static const int kRetardoPropio = 16;

// --- helpers ---

// Steps of 0.2 do not add up exactly in float: without this, going up and
// down again would leave a scale a hair above zero that the lower clamp misses.
static float enPaso(float s)
{
    return std::round(s / kPasoEscala) * kPasoEscala;
}

// A key that changes the screen: the running timer shows the new one in its
// next frame, but a paused game draws none, so it is drawn now.
static void mostrarPantalla()
{
    if (!animating)
        glutPostRedisplay();
}

static void amarillo()
{
    glColor3f(1.0f, 1.0f, 0.0f);
}

static void pantallaTitulo()
{
    // integer halves and thirds, truncated toward zero, as the title shrinks
    glPushMatrix();
        glTranslatef((float)(-tamName / 2), 0.0f, 0.0f);
        drawString("Tie", 0, tamName / 3, tamName);
        drawString("Zarkons", -tamName, -tamName / 3, tamName);
    glPopMatrix();
}

static void pantallaFinal(bool ganada)
{
    glTranslatef(-20.0f, 0.0f, 0.0f);
    drawString(ganada ? zk_tr("Eres poderoso en") : zk_tr("Eres mediocre en"), -50, 40, 20);
    drawString(zk_tr("la fuerza..."), -20, 20, 20);
    drawString(zk_tr("\xBF" "Continuar?"), -20, -20, 20);
    drawString(zk_tr("Si/No"), -5, -40, 20);
    drawMejorPuntaje();
}

static void pantallaAyuda()
{
    drawString(zk_tr("Configuracion del teclado"), -65, 70, 13);
    for (int i = 0; i < 13; i++)
        drawString(zk_tr(kAyuda[i]), -97, 49 - 7 * i, 7);
}

// A screen of text alone (the opening line, the end screens, the help) is
// the same picture in every frame until the projection, the fill or the
// window changes (the player's scale and turn are for play alone), and
// its smooth text costs more than all the rest of a frame: it is drawn once,
// read back, and its pixels shown while nothing it rests on has changed.
struct PantallaGuardada {
    bool valida = false;
    int estado = 0, ancho = 0, alto = 0;
    bool ortho = false, relleno = true;
    std::vector<unsigned char> pixeles; // RGBA rows, bottom up
};
static PantallaGuardada sGuardada;

static bool pantallaFija()
{
    return state == 0 || state == 3 || state == 4 || state == 5;
}

// Play is seen as the player set it; the screens of text in the plain view,
// where every word stays inside the window.
static bool vistaDelJugador()
{
    return state == 2;
}

static bool guardadaVale()
{
    const PantallaGuardada& g = sGuardada;
    return g.valida && g.estado == state && g.ancho == width && g.alto == height &&
           g.ortho == ortho && g.relleno == relleno;
}

static void guardarPantalla()
{
    PantallaGuardada& g = sGuardada;
    g.valida = false;
    if (width <= 0 || height <= 0)
        return;
    g.pixeles.resize((size_t)width * (size_t)height * 4);
    g.pixeles.shrink_to_fit(); // a smaller window than the last keeps no more
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, g.pixeles.data());
    g.valida = true;
    g.estado = state;
    g.ancho = width;
    g.alto = height;
    g.ortho = ortho;
    g.relleno = relleno;
}

size_t bytesPantallaGuardada()
{
    return sGuardada.pixeles.capacity();
}

static void mostrarGuardada()
{
    assert(guardadaVale());
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glRasterPos2f(-1.0f, -1.0f); // the window's lower left corner
    glPushAttrib(GL_ENABLE_BIT);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_BLEND);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glDrawPixels(sGuardada.ancho, sGuardada.alto, GL_RGBA, GL_UNSIGNED_BYTE,
                 sGuardada.pixeles.data());
    glPopAttrib();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
}

// --- public functions ---

void init()
{
    glEnable(GL_BLEND);
    glEnable(GL_LINE_SMOOTH);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_CULL_FACE);
    glEnableClientState(GL_VERTEX_ARRAY);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glEnable(GL_NORMALIZE);

    reiniciarCampo();

    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, lmodel_ambient);
    glShadeModel(GL_SMOOTH);
    glLightModeli(GL_LIGHT_MODEL_LOCAL_VIEWER, 1);
    glLightModeli(GL_LIGHT_MODEL_TWO_SIDE, 1);
    glColorMaterial(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE);
    glEnable(GL_COLOR_MATERIAL);
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    glLightfv(GL_LIGHT0, GL_AMBIENT, light_ambient);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, light_diffuse);
    glLightfv(GL_LIGHT0, GL_SPECULAR, light_specular);
    glLightfv(GL_LIGHT0, GL_POSITION, light_position);
}

void initTransformation()
{
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    // a window with no area yet (before the first reshape, or minimised)
    // would divide by zero: draw it as a square until it has one
    const double aspect = (width > 0 && height > 0) ? (double)height / width : 1.0;
    const double lado = ortho ? 16.0 : 10.0;
    double l, r, b, t;
    if (aspect >= 1.0) {
        l = -lado; r = lado; b = -lado * aspect; t = lado * aspect;
    } else {
        l = -lado / aspect; r = lado / aspect; b = -lado; t = lado;
    }
    if (ortho)
        glOrtho(l, r, b, t, 30.0, 70.0);
    else
        glFrustum(l, r, b, t, 30.0, 70.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    gluLookAt(0, 0, 50, 0, 0, 0, 0, 1, 0);
}

void display()
{
    // one tick per frame drawn, while the game is not paused
    if (animating)
        glutTimerFunc(swapSincronizado ? kRetardoSincronizado : kRetardoPropio, timer, 1);
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    initTransformation();
    if (vistaDelJugador()) {
        glRotatef(xrot, 1.0f, 0.0f, 0.0f);
        glRotatef(yrot, 0.0f, 1.0f, 0.0f);
    }
    if (!pantallaFija()) {
        // a frame of play ends the saved picture: the next end screen belongs
        // to another game, with its own record to draw. Its pixels go too: a
        // window's worth (33 MB full screen at 3840 x 2160) play has no use for
        if (!sGuardada.pixeles.empty()) // a valid picture always has them
            sGuardada = PantallaGuardada{};
        drawObjects();
    } else if (guardadaVale()) {
        mostrarGuardada();
    } else {
        drawObjects();
        guardarPantalla();
    }
    glFlush();
    glutSwapBuffers();
}

void reshape(int w, int h)
{
    glViewport(0, 0, w, h);
    width = w;
    height = h;
}

void timer(int)
{
    contarTiempoDisparo();
    if (state == 1) {
        if (tamName > 0)
            tamName--;
        // the tick that brings the title to nothing starts the game, paused
        // if the player is away
        if (tamName == 0) {
            state = 2;
            if (ventanaOculta)
                animating = false;
        }
    }
    avanzarMundo();
    glutPostRedisplay();
}

void drawObjects()
{
    const float s = vistaDelJugador() ? scale : kEscalaInicial;
    glScalef(s, s, s);
    amarillo();
    switch (state) {
    case 0:
        drawString(zk_tr("Hace mucho tiempo en una galaxia muy, muy lejana..."), -83, 0, 7);
        break;
    case 1:
        pantallaTitulo();
        break;
    case 2:
        if (!animating) {
            // the word of another language is centred where "Pausa" is
            const char* pausa = zk_tr("Pausa");
            drawString(pausa, -23.5 + (stringWidth("Pausa", 20) - stringWidth(pausa, 20)) / 2, 0, 20);
        }
        dibujarCampo();
        break;
    case 3:
    case 4:
        registrarFinal();
        pantallaFinal(state == 4);
        break;
    case 5:
        pantallaAyuda();
        break;
    default:
        assert(!"unknown game state");
        break;
    }
}

void keyboard(unsigned char key, int, int)
{
    const bool fin = state == 3 || state == 4;
    if (key == 27)
        exit(0);
    if (key != 0 && state <= 1) {
        state++;
        mostrarPantalla();
        return;
    }
    if ((key == 's' || key == 'S' || toupper(key) == *zk_trc("tecla para seguir", "S")) && fin) {
        init();
        // a new game, to be recorded when it ends with what it won
        partidaRegistrada = false;
        puntosInicio = puntos;
        state = 2;
        mostrarPantalla();
        return;
    }
    if ((key == 'n' || key == 'N') && fin)
        exit(0);
    if (key == 'a' || key == 'A') {
        animating = !animating;
        glutPostRedisplay();
        return;
    }
    if ((key == 'h' || key == 'H') && state == 2) {
        state = 5;
        mostrarPantalla();
        return;
    }
    if (key != 0 && state == 5) {
        state = 2;
        mostrarPantalla();
        return;
    }
    if (key == 'v' || key == 'V') {
        alternarSonidoTie();
        return;
    }

    // view settings redraw at once only while paused; otherwise the running
    // timer shows them in the next frame
    bool vista = true;
    if (key == 'p' || key == 'P') {
        ortho = !ortho;
    } else if (key == 'r' || key == 'R') {
        relleno = !relleno;
        glPolygonMode(GL_FRONT_AND_BACK, relleno ? GL_FILL : GL_LINE);
    } else if (key == '+') {
        scale = enPaso(scale + kPasoEscala);
        if (scale > kEscalaMax)
            scale = kEscalaMax;
    } else if (key == '-') {
        scale = enPaso(scale - kPasoEscala);
        // a step down from the smallest scale would hide the whole scene
        if (scale <= 0.0f)
            scale = kEscalaMin;
    } else {
        vista = false;
    }
    if (vista) {
        if (!animating)
            glutPostRedisplay();
        return;
    }

    if (key == 'f' || key == 'F') {
        fullscreen = !fullscreen;
        zk_settings_set_fullscreen(fullscreen);
        if (fullscreen) {
            glutFullScreen();
        } else {
            glutReshapeWindow(640, 480);
            glutPositionWindow(150, 50);
        }
        return;
    }
    if ((key == 'm' || key == 'M') && state == 2 && tiempoDisparo > 5) {
        tiempoDisparo = 0;
        dispararXWing();
    }
}

void special(int key, int, int)
{
    if (!animating)
        return;
    if (key == GLUT_KEY_LEFT && state == 2) {
        if (xWingStat.x > -100.0f)
            xWingStat.x -= 1.0f;
    } else if (key == GLUT_KEY_RIGHT && state == 2) {
        if (xWingStat.x < 100.0f)
            xWingStat.x += 1.0f;
    } else if (key == GLUT_KEY_HOME) {
        xrot = 0.0f;
        yrot = 0.0f;
        scale = kEscalaInicial;
    }
}

void mouse(int button, int buttonState, int x, int y)
{
    if (button == GLUT_LEFT_BUTTON && buttonState == GLUT_DOWN) {
        mouseDown = true;
        xdiff = x - yrot;
        ydiff = -y + xrot;
    } else {
        mouseDown = false;
    }
}

void motion(int x, int y)
{
    if (mouseDown) {
        yrot = x - xdiff;
        xrot = y + ydiff;
        glutPostRedisplay();
    }
}

void estadoVentana(int estado)
{
    ventanaOculta = estado == GLUT_HIDDEN;
    zk_sound_hold(ventanaOculta);
    // the game in play waits, paused, until the player comes back and resumes
    if (ventanaOculta && state == 2 && animating) {
        animating = false;
        glutPostRedisplay();
    }
}

void writeInstrucciones()
{
    for (const char* s : kInstrucciones)
        fputs(zk_impreso(zk_tr(s)).c_str(), stdout);
    fflush(stdout);
}

// Asks the driver to wait for the display's refresh in each buffer swap, so
// that one tick per frame runs at the refresh rate instead of as fast as the
// machine can draw. True when a driver took the request; false when the
// display offers no swap control (Xvfb, for one).
bool sincronizarIntercambio()
{
    Display* dpy = glXGetCurrentDisplay();
    const GLXDrawable dibujable = glXGetCurrentDrawable();
    if (dpy == nullptr || dibujable == 0)
        return false;
    const char* ext = glXQueryExtensionsString(dpy, DefaultScreen(dpy));
    auto tiene = [ext](const char* nombre) {
        // whole names only: one extension's name may start another's
        const size_t n = strlen(nombre);
        for (const char* p = ext; p != nullptr && (p = strstr(p, nombre)) != nullptr; p += n) {
            if ((p == ext || p[-1] == ' ') && (p[n] == ' ' || p[n] == '\0'))
                return true;
        }
        return false;
    };
    auto buscar = [](const char* nombre) {
        return glXGetProcAddress(reinterpret_cast<const GLubyte*>(nombre));
    };

    if (tiene("GLX_EXT_swap_control")) {
        typedef void (*SwapEXT)(Display*, GLXDrawable, int);
        if (auto f = reinterpret_cast<SwapEXT>(buscar("glXSwapIntervalEXT"))) {
            f(dpy, dibujable, 1);
            return true;
        }
    }
    if (tiene("GLX_MESA_swap_control")) {
        typedef int (*SwapMESA)(unsigned int);
        if (auto f = reinterpret_cast<SwapMESA>(buscar("glXSwapIntervalMESA")))
            if (f(1) == 0)
                return true;
    }
    if (tiene("GLX_SGI_swap_control")) {
        typedef int (*SwapSGI)(int);
        if (auto f = reinterpret_cast<SwapSGI>(buscar("glXSwapIntervalSGI")))
            if (f(1) == 0)
                return true;
    }
    return false;
}
