// Definitions of the game core's globals (declared in globales.h).
#include "globales.h"

// windows
int ventanaPrincipal = 0;
int ventanaScore = 0;
int width = 0, height = 0;
Camara* camara = nullptr;

// rules
int puntaje = 0;
int vidas = 3;
int energia = 100;
int periodo = 17;
int fps = 1000 / 17;
int pausa = 1;
bool naveDestruida = false;
bool gameOver = false;
int rondasDisparo = 0;
bool pausaVisible = false;
int oleada = 1;

// one game after another
int partida = 0;
bool ventanaOculta = false;

// input and display settings
bool teclaArriba = false, teclaAbajo = false, teclaDerecha = false, teclaIzquierda = false;
bool teclaDisparo = false;
bool wireframe = false;
bool facetado = false;
bool mostrarScore = false;
float clickX = 0.0f, clickY = 0.0f;
float destinoCamara[3] = {0.0f, 0.0f, 0.0f};

// scene
// two rows of seven; the outer gaps are 6 units and the inner ones 7
const float posicionesInvasores[kInvasores][3] = {
    {-20.0f, 5.0f, 20.0f}, {-14.0f, 5.0f, 20.0f}, {-7.0f, 5.0f, 20.0f}, {0.0f, 5.0f, 20.0f},
    {7.0f, 5.0f, 20.0f},   {14.0f, 5.0f, 20.0f},  {20.0f, 5.0f, 20.0f},
    {-20.0f, -10.0f, 25.0f}, {-14.0f, -10.0f, 25.0f}, {-7.0f, -10.0f, 25.0f}, {0.0f, -10.0f, 25.0f},
    {7.0f, -10.0f, 25.0f},   {14.0f, -10.0f, 25.0f},  {20.0f, -10.0f, 25.0f},
};
Nave1* nave = nullptr;
Skybox* skybox = nullptr;
std::vector<Disparo*>& disparos = *new std::vector<Disparo*>();
std::vector<DisparoE*>& disparosEnemigos = *new std::vector<DisparoE*>();
std::vector<Invasor*>& invasores = *new std::vector<Invasor*>();

// best scores
bool mostrarRecords = false;
bool finPorVictoria = false;
