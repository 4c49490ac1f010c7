// Every global of Tie Zarkons, one line each, and the functions its files
// share. Defined in globales.cpp.
#pragma once

#include <GL/gl.h>

#include <cstddef>

struct zk_effect_t;

// One shot of either side: where it is and whether it is in flight.
struct shoot {
    float x, y;
    bool activo;
};

// One wall cube or one cube of the energy bar.
struct cubito {
    float x, y;
    bool vivo;
};

// The formation: x of column 0, y of row 0, the way it marches and its limit.
struct posicionTie {
    float x, y;
    int direccion;  // 0: toward -x, 1: toward +x
    float limite;   // half-width of the field
};

// The player's ship.
struct estadoXWing {
    float x, y;
    int energia;    // energy units left
};

// --- sizes of the field ---
const int kFilas = 3;          // rows of the formation
const int kColumnas = 5;       // columns of the formation
const int kTies = kFilas * kColumnas;
const int kEnemys = 50;        // alive flags kept; only the first kTies are read
const int kDisparos = 5;       // shots in flight per side
const int kBloques = 96;       // wall cubes, four walls of 24
const int kEnergia = 10;       // full energy, one cube of the bar each
const float kPasoTie = 16.0f;  // spacing of the formation's rows and columns

const float kEscalaInicial = 0.2f; // the scale at start and in Home, the one the texts fit

// --- screens and view (pantallas.cpp) ---
extern int state;              // 0 opening, 1 title, 2 play, 3 lost, 4 won, 5 help
extern int tamName;            // size of the title, counts down from 200 to 0
extern bool animating;         // the world advances (false: paused)
extern bool ortho;             // orthographic projection (false: perspective)
extern bool relleno;           // polygons filled (false: drawn as lines)
extern float scale;            // scale of the whole scene, 0.2 ... 1.6
extern bool fullscreen;        // full-screen mode is on
extern int width, height;      // window size at the last reshape
extern float xrot, yrot;       // view rotation about X and about Y, degrees
extern float xdiff, ydiff;     // anchors of the running mouse drag
extern bool mouseDown;         // a left-button drag is under way
extern bool swapSincronizado;  // buffer swaps wait for the display's refresh
extern bool ventanaOculta;     // the window is hidden or iconified

// --- light and materials (pantallas.cpp, campo.cpp) ---
extern GLfloat lmodel_ambient[4];  // ambient light of the scene
extern GLfloat light_ambient[4];   // light 0 ambient
extern GLfloat light_diffuse[4];   // light 0 diffuse
extern GLfloat light_specular[4];  // light 0 specular
extern GLfloat light_position[4];  // light 0 direction (w = 0)
extern GLfloat no_mat[4];          // black, no contribution
extern GLfloat mat_ambient[4];     // ambient of the ships
extern GLfloat mat_diffuse[4];     // diffuse of every object
extern GLfloat mat_specular[4];    // specular of every object
extern GLfloat high_shininess;     // specular exponent of every object

// --- play field (campo.cpp) ---
extern bool enemys[kEnemys];       // alive flags, index = row * 5 + column
extern posicionTie pos_tie;        // where the formation is and where it goes
extern estadoXWing xWingStat;      // the X-Wing's position and energy
extern shoot sXWing[kDisparos];    // the X-Wing's shots
extern shoot sTie[kDisparos];      // the Ties' shots
extern cubito bloques[kBloques];   // the wall cubes
extern cubito energia[kEnergia];   // where the energy-bar cubes stand
extern int puntos;                 // score, kept across restarts
extern int puntosInicio;           // the score when this game began
extern int tiempoDisparo;          // ticks since the X-Wing last fired

// --- best scores (tablaRecords.cpp) ---
extern bool partidaRegistrada;     // this game's end is in the table (a restart clears it)
extern bool hayMejorPuntaje;       // the table could be read and is not empty
extern long mejorPuntaje;          // its best score, for the end screens

// --- display lists (modelos.cpp), 0 until crearModelos ---
extern GLuint listaTie;            // the Tie fighter: its body, then its window frame
extern GLuint listaCuerpoTie;      // the Tie without its window frame
extern GLuint listaMarcoTie;       // the Tie's window frame, in thick lines
extern GLuint listaXWing;          // the X-Wing, calling its six parts
extern GLuint listaAlaIzquierda;   // left wing panel
extern GLuint listaAlaDerecha;     // right wing panel
extern GLuint listaBloqueMotor;    // engine block
extern GLuint listaMotorSuperior;  // upper engine pair of cylinders and discs
extern GLuint listaMotorInferior;  // lower engine
extern GLuint listaCanon;          // laser cannon
extern GLuint listaDisparoXWing;   // the X-Wing's shot
extern GLuint listaRayoTie;        // one bolt of a Tie shot
extern GLuint listaDisparoTie;     // a Tie shot, two bolts
extern GLuint listaCubo;           // one wall cube

// --- pantallas.cpp ---
void init();
void initTransformation();
void display();
void reshape(int w, int h);
void timer(int value);
void drawObjects();
void keyboard(unsigned char key, int x, int y);
void special(int key, int x, int y);
void mouse(int button, int buttonState, int x, int y);
void motion(int x, int y);
void writeInstrucciones();
void estadoVentana(int estado); // freeglut's window status
bool sincronizarIntercambio();
size_t bytesPantallaGuardada(); // what the saved text screen's pixels hold

// --- campo.cpp ---
void reiniciarCampo();
void defCubito(int index, int x, int y);
void defBloques(int index, int x, int y);
float distancia(float a, float b);
bool collision(float x, float y, shoot* s, float dx, float dy);
void dispararTie(float x, float y);
void dispararXWing();
void drawPuntos();
void drawEnergia();
void contarTiempoDisparo();
void avanzarMundo();
void dibujarCampo();

// --- tablaRecords.cpp ---
void registrarFinal();     // once per game, on its won or lost screen
void drawMejorPuntaje();   // the best score and this game's, under the end screen's question

// --- modelos.cpp ---
void crearModelos();
// The wall cube's vertices and normals centred on (x, y), inside the caller's
// glBegin(GL_QUADS): what listaCubo draws, moved without a matrix.
void verticesCubo(float x, float y);
void borrarModelos();

// The bodies of n Ties standing at (x, y) pairs of xy, turned 15 degrees
// about x: what listaCuerpoTie draws for each, culling as it does, in two
// draws; with marcos, then their window frames as listaMarcoTie draws them,
// smoothed, in one more. Leaves the colour as the last list would, and line
// smoothing off.
void dibujarTies(const float* xy, int n, bool marcos);
// What listaXWing draws, filled, in one draw; leaves the colour and normal
// as the list would.
void dibujarXWing();

// --- mando.cpp ---
// The gamepad, if SDL can read one, polled from a timer of its own from here on.
void iniciarMando();

// --- sonidos.cpp ---
enum SonidoTie {
    SONIDO_DISPARO_XWING,  // the X-Wing fires
    SONIDO_DISPARO_TIE,    // a Tie fires
    SONIDO_TIE_DESTRUIDO,  // a Tie is shot down
    SONIDO_IMPACTO_XWING,  // a Tie shot hits the X-Wing
    SONIDO_VICTORIA,       // the won screen
    SONIDO_DERROTA_TIE,    // the lost screen
    SONIDOS_TIE            // how many there are
};
const zk_effect_t* efectosSonidoTie(); // what each sound is made of, in SonidoTie order
void iniciarSonidoTie(bool mudo);      // renders the sounds; opens the device unless mudo
void sonar(SonidoTie sonido, float x); // panned by x across the field
void alternarSonidoTie();              // the V key: sound off or on
