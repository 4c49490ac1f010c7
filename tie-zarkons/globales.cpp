// Definitions of every global of Tie Zarkons, with their values at start.
#include "globales.h"

// --- screens and view ---
int state = 0;
int tamName = 200;
bool animating = true;
bool ortho = true;
bool relleno = true;
float scale = kEscalaInicial;
bool fullscreen = false;
int width = 0, height = 0;
float xrot = 0.0f, yrot = 0.0f;
float xdiff = 0.0f, ydiff = 0.0f;
bool mouseDown = false;
bool swapSincronizado = false;
bool ventanaOculta = false;

// --- light and materials ---
GLfloat lmodel_ambient[4] = {0.2f, 0.2f, 0.2f, 1.0f};
GLfloat light_ambient[4] = {0.2f, 0.2f, 0.2f, 1.0f};
GLfloat light_diffuse[4] = {0.8f, 0.8f, 0.8f, 1.0f};
GLfloat light_specular[4] = {0.5f, 0.5f, 0.5f, 1.0f};
GLfloat light_position[4] = {10.0f, 70.0f, 10.0f, 0.0f};
GLfloat no_mat[4] = {0.0f, 0.0f, 0.0f, 1.0f};
GLfloat mat_ambient[4] = {0.7f, 0.7f, 0.7f, 1.0f};
GLfloat mat_diffuse[4] = {0.1f, 0.5f, 0.8f, 1.0f};
GLfloat mat_specular[4] = {1.0f, 1.0f, 1.0f, 1.0f};
GLfloat high_shininess = 100.0f;

// --- play field (set by reiniciarCampo; the score and shot timer only here) ---
bool enemys[kEnemys];
posicionTie pos_tie;
estadoXWing xWingStat;
shoot sXWing[kDisparos];
shoot sTie[kDisparos];
cubito bloques[kBloques];
cubito energia[kEnergia];
int puntos = 0;
int puntosInicio = 0;
int tiempoDisparo = 0;

// --- display lists ---
GLuint listaTie = 0;
GLuint listaCuerpoTie = 0;
GLuint listaMarcoTie = 0;
GLuint listaXWing = 0;
GLuint listaAlaIzquierda = 0;
GLuint listaAlaDerecha = 0;
GLuint listaBloqueMotor = 0;
GLuint listaMotorSuperior = 0;
GLuint listaMotorInferior = 0;
GLuint listaCanon = 0;
GLuint listaDisparoXWing = 0;
GLuint listaRayoTie = 0;
GLuint listaDisparoTie = 0;
GLuint listaCubo = 0;

// best scores
bool partidaRegistrada = false;
bool hayMejorPuntaje = false;
long mejorPuntaje = 0;
