// The spine of Space Zarkons 3D: one-time set-up, the frame and the reshape.
#include "globales.h"

#include "Camara.h"
#include "Skybox.h"

#include <GL/freeglut.h>

#include <algorithm>
#include <cassert>
#include <cmath>

// The far plane of the game's projection.
static const float kLejos = 140.0f;
// Where the eye starts the fly-in of every game.
static const float kOjoInicial[3] = {-25.0f, -25.0f, 100.0f};

static void initLuces()
{
    // given while the model-view matrix is still the identity
    static const GLfloat negro[] = {0.0f, 0.0f, 0.0f, 1.0f};
    static const GLfloat blanco[] = {1.0f, 1.0f, 1.0f, 1.0f};
    static const GLfloat posicion0[] = {0.0f, 10.0f, 50.0f, 1.0f};
    static const GLfloat posicion1[] = {0.0f, -50.0f, 50.0f, 1.0f};
    static const GLfloat posicion2[] = {0.0f, 0.0f, 120.0f, 0.0f}; // directional
    const GLenum luces[] = {GL_LIGHT0, GL_LIGHT1, GL_LIGHT2};
    const GLfloat* posiciones[] = {posicion0, posicion1, posicion2};
    for (int i = 0; i < 3; i++) {
        glLightfv(luces[i], GL_POSITION, posiciones[i]);
        glLightfv(luces[i], GL_AMBIENT, negro);
        glLightfv(luces[i], GL_DIFFUSE, blanco);
        glLightfv(luces[i], GL_SPECULAR, blanco);
    }
}

void init()
{
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    initLuces();

    glEnable(GL_BLEND);
    glEnable(GL_LINE_SMOOTH);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
    glHint(GL_POINT_SMOOTH_HINT, GL_NICEST);
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    glEnable(GL_DEPTH_TEST);

    // armed before the scene exists; it first runs from the main loop
    armarTimer(CADENA_INTRO, 50, timerIntro);
    montarEscena();

    armarTimer(CADENA_JUEGO, (unsigned)periodo, actualizarJuego);
    armarTimer(CADENA_LENTO, 100, timerLento);
}

void montarEscena()
{
    camara = Camara::getInstance(kOjoInicial[0], kOjoInicial[1], kOjoInicial[2], 0.0f, 0.0f, 40.0f,
                                 0.0f, 1.0f, 0.0f, true);
    camara->setOrtho(false);

    crearNaveYSkybox();
    crearMenus();
    limpiarTeclas();
    crearFormacion();
    prepararVuelo();
}

void prepararVuelo()
{
    assert(camara != nullptr);
    camara->reiniciar(kOjoInicial[0], kOjoInicial[1], kOjoInicial[2]);
    // the fly-in brings the eye from (-25, -25, 100) toward (0, 0, 83)
    camara->setPasoX(0.0f, 20);
    camara->setPasoY(0.0f, 20);
    camara->setPasoZ(83.0f, 20);
}

// The star field turns, so any corner of it may point at the eye: the far
// plane must reach the eye's distance to its centre plus half its diagonal.
// Once the fly-in is over the eye is close enough that 140 already does, and
// the picture of play stays exactly as it was; only the far-out eyes of the
// fly-in and of a wide mouse move push the plane further.
static float lejosParaElCielo()
{
    if (skybox == nullptr)
        return kLejos;
    const double dx = camara->getOjoX() - skybox->getX();
    const double dy = camara->getOjoY() - skybox->getY();
    const double dz = camara->getOjoZ() - skybox->getZ();
    const double alcance = std::sqrt(dx * dx + dy * dy + dz * dz) + skybox->getHalfSize() * std::sqrt(3.0);
    // one unit more, so a corner never sits right on the plane
    return std::max(kLejos, (float)(alcance + 1.0));
}

void aplicarCamara()
{
    assert(camara != nullptr);
    camara->setLejos(lejosParaElCielo());
    camara->aplicar(height, width);
}

void display()
{
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    aplicarCamara();
    oyenteEnCamara();
    drawObjects();
    // the table and the pause go over everything the scene drew
    dibujarRecords();
    dibujarOleada();
    dibujarPausa();
    glFlush();
    glutSwapBuffers();
}

void reshape(int w, int h)
{
    glViewport(0, 0, w, h);
    height = h;
    width = w;
    if (mostrarScore) {
        glutSetWindow(ventanaScore);
        // X refuses a window of height 0: a very short main window still gets a 1-pixel strip
        glutReshapeWindow(w > 0 ? w : 1, h / 20 > 0 ? h / 20 : 1);
        glutPositionWindow(0, 0);
        glutSetWindow(ventanaPrincipal);
    }
}

void redibujarVentana(int id)
{
    if (id == ventanaScore && !mostrarScore)
        return;
    glutSetWindow(id);
    // A frame costs more than anything else the game does: a change made
    // just before a tick shows in that tick's frame, not in one of its own.
    if (id == ventanaPrincipal && tickInminente())
        return;
    glutPostRedisplay();
}
