// Every global of the Space Zarkons 3D game core, one line each, and the
// functions the core's files share. Defined in globales.cpp.
#pragma once

#include <cstddef>
#include <vector>

class Camara;
class Nave1;
class Skybox;
class Disparo;
class DisparoE;
class Invasor;
class Dibujable;
struct zk_effect_t;

// --- windows (programa.cpp) ---
extern int ventanaPrincipal; // GLUT id of the main window
extern int ventanaScore;     // GLUT id of the score strip while it exists (0 before the first)
extern int width, height;    // size of the main window at its last reshape (0 before)
extern Camara* camara;       // the one camera

// --- rules (reglas.cpp) ---
extern int puntaje;          // score: +10 per enemy ship, -20 per hit taken
extern int vidas;            // ships left after the current one
extern int energia;          // energy the score strip shows
extern int periodo;          // milliseconds between game ticks (never below 2)
extern int fps;              // 1000 / periodo, shown on the score strip
extern int pausa;            // 1: the game tick and the sway do nothing
extern bool naveDestruida;   // the ship is lost and waits for timerRevivir
extern bool gameOver;        // no ship left, or the formation reached the ship
extern int rondasDisparo;    // enemy-fire volleys so far
extern bool pausaVisible;    // the pause is the player's or the hidden window's: "Pausa" shows
extern int oleada;           // the wave being played, 1 the first (oleadas.cpp)

// --- one game after another (partida.cpp) ---
extern int partida;          // number of the game or wave being played, 0 the first; its timers carry it
extern bool ventanaOculta;   // the main window is hidden or iconified

// --- input and display settings (entrada.cpp) ---
extern bool teclaArriba, teclaAbajo, teclaDerecha, teclaIzquierda; // arrow held
extern bool teclaDisparo;    // a fire key is held
extern bool wireframe;       // polygons as outlines
extern bool facetado;        // flat shading
extern bool mostrarScore;    // the score strip exists
extern float clickX, clickY; // window position of the last left-button press
extern float destinoCamara[3]; // target eye of the running mouse camera move

// --- scene (escena.cpp) ---
const int kInvasores = 14;                   // ships in the formation
extern const float posicionesInvasores[kInvasores][3]; // start (x, y, z) of each, in array order
extern Nave1* nave;                          // the player's ship
extern Skybox* skybox;                       // the star field
// The arrays are never destroyed: at exit their objects stay reachable and
// are left to the end of the process, like the ship and the camera.
extern std::vector<Disparo*>& disparos;         // player shots, in order of creation
extern std::vector<DisparoE*>& disparosEnemigos; // enemy shots, in order of creation
extern std::vector<Invasor*>& invasores;        // the formation, in table order

// --- best scores (tablaRecords.cpp) ---
extern bool mostrarRecords;  // the best-score table is drawn over the scene
extern bool finPorVictoria;  // the fly-out is over: the table shows, any key ends

// --- programa.cpp ---
void init();
void montarEscena(); // the camera, the ship, the skybox, the menus and the formation
void display();
void reshape(int w, int h);
void redibujarVentana(int id);
void aplicarCamara();
// The camera at its start and the fly-in's steps set, as init leaves them.
void prepararVuelo();

// --- reglas.cpp ---
void actualizarJuego(int);
void timerLento(int);
void timerIntro(int);
void timerRecarga(int);
void timerDisparoEnemigo(int);
void timerRevivir(int);
void timerSalida(int);
// The rule state and the file state of the rules as a fresh launch has them.
void reglasIniciales();
// The delay that brings the next game tick to its due time: `proximo` (when the
// tick now running was due, -1 before the first) moves on by `periodo` ms;
// `ahora` is the clock in ms. After a stall the schedule starts afresh.
int programarTick(long long& proximo, long long ahora, int periodo);
// A change on screen may wait for the next frame for this long (ms).
const int kPlazoPantalla = 17;
// The next game tick is due within kPlazoPantalla ms, and its frame will show
// whatever changed before it.
bool tickInminente();

// --- partida.cpp ---
// The timers that re-arm themselves, and the respawn: one chain of each, with
// one owner. The game tick and the slow tick run for the whole program; the
// others belong to one game, and a new game retires what is left of them.
enum Cadena {
    CADENA_JUEGO,           // actualizarJuego
    CADENA_LENTO,           // timerLento
    CADENA_INTRO,           // timerIntro
    CADENA_RECARGA,         // timerRecarga
    CADENA_DISPARO_ENEMIGO, // timerDisparoEnemigo
    CADENA_REVIVIR,         // timerRevivir
    CADENA_SALIDA,          // timerSalida
    CADENA_CAMARA,          // timerCamara
    CADENA_FIN_VICTORIA,    // timerFinVictoria
    CADENAS                 // how many there are
};
// Arms one timer of chain c; a game's timers carry its number as their value.
void armarTimer(Cadena c, unsigned ms, void (*timer)(int));
// The first thing each timer does: false for one armed by an earlier game,
// which then does nothing and arms nothing.
bool timerVigente(Cadena c, int valor);
int cadenasArmadas(Cadena c); // timers of chain c waiting in GLUT, of any game
bool puedeJugarDeNuevo();     // the game is over and not won: Intro plays again
void jugarDeNuevo();          // Intro: a new game, as a fresh launch starts it
// A new game or wave from its fly-in: the old one's timers retired, its
// objects gone, the rules as a fresh launch has them.
void empezarDeNuevo();
void alternarPausa();         // P and the menu's entry
void reanudar();              // the game's own end of a pause (fly-in, camera move)
bool juegoRetenido();         // the player's pause or a hidden window holds the game
void estadoVentana(int estado); // freeglut's window status of the main window

// --- entrada.cpp ---
void keyboard(unsigned char key, int x, int y);
void keyboardUp(unsigned char key, int x, int y);
void special(int key, int x, int y);
void specialUp(int key, int x, int y);
void aplicarTeclas();
void limpiarTeclas();
void mouse(int button, int state, int x, int y);
void timerCamara(int);
void detenerCamara(); // a running camera move ends where it is
// --fullscreen or the stored setting: full screen from the start, F goes back
// to the window as it was made (the setting is not written again)
void empezarEnPantallaCompleta();
void crearMenus();
void menuPrincipal(int value);
void menuProyeccion(int value);
void menuVelocidad(int value);
void menuLuces(int value);

// --- mando.cpp ---
// The gamepad, if SDL can read one, polled from a timer of its own from here on.
void iniciarMando();

// --- score.cpp ---
void alternarScore();
void reshapeScore(int w, int h);
void displayScore();
void drawBitmapString(const char* s);
// Pixel coordinates of the main window over the drawn scene, with no light,
// depth test or texture; terminarPlano puts everything back.
void empezarPlano();
void terminarPlano();
void dibujarPausa(); // "Pausa" in the middle while the pause shows

// --- tablaRecords.cpp ---
// Records the game's end ("sin-vidas", "invasion", "ganada"; named with its
// wave by nombreDelFin) once per game and shows the table; quietly nothing
// when records are off.
void registrarPartida(const char* como);
void dibujarRecords();      // over the scene, in the main window's pixels
int bordeRecords();        // top row of the table (or the keys' line) in pixels, -1 if none
// The fly-out's end: the table under the wave won, until Intro starts the
// next wave, or Escape or 20 s without a key end the game (status 0).
void terminarTrasSalida();
void timerFinVictoria(int);
void olvidarPartida();      // a new game: nothing recorded yet, no table

// --- escena.cpp ---
void crearNaveYSkybox();  // init step 6
void crearFormacion();    // init step 9
// A new game: the old one's objects and bursts go without a word, the ship
// stands where it started and a new formation is built.
void reponerEscena();
void drawObjects();
// Makes the main window current: a shot's first construction compiles the
// missile model into whatever context is current.
void activarVentanaPrincipal();
// A model that cannot be loaded ends the game with one clear line, status 1.
[[noreturn]] void salirSinModelos();

// --- oleadas.cpp ---
// How hard one wave is: the formation's steps times `rapidez`, the first
// volley's delay in ms, and each ship firing in a volley one time in `unoEn`.
struct Dificultad {
    float rapidez;
    int volea;
    int unoEn;
};
const Dificultad& dificultad(int n); // of wave n (1 the first)
void siguienteOleada();              // Intro after a win: wave n + 1, score and lives kept
// The end of a game as the table names it: a game lost in the first wave by
// its own word ("invasion", "sin-vidas"), any other by its wave ("oleada-3").
// s (n bytes) may hold the name.
const char* nombreDelFin(const char* fin, char* s, size_t n);
[[noreturn]] void salirDelJuego(); // Escape and "Salir": a game left after a win is recorded
void dibujarOleada();              // "Oleada n" during the fly-in of a later wave

// --- sonidos.cpp ---
enum Sonido {
    SONIDO_DISPARO,           // the player fires
    SONIDO_DISPARO_ENEMIGO,   // an enemy ship fires
    SONIDO_EXPLOSION_INVASOR, // an enemy ship bursts
    SONIDO_IMPACTO,           // an enemy shot hits the ship
    SONIDO_EXPLOSION_NAVE,    // the ship blows up
    SONIDO_SALIDA,            // the fly-out after a win
    SONIDO_DERROTA,           // the game is lost
    SONIDOS                   // how many there are
};
const zk_effect_t* efectosSonido(); // what each sound is made of, in Sonido order
void iniciarSonido(bool mudo);      // renders the sounds; opens the device unless mudo
void sonarEn(Sonido sonido, const Dibujable* donde); // heard from where the object is
void sonar(Sonido sonido);          // heard from straight ahead
void oyenteEnCamara();              // the listener takes the camera's eye and aim
void alternarSonido();              // the M key: sound off or on
