// Game rules: the game tick and every timer that drives the game.
#include "globales.h"

#include "Camara.h"
#include "Disparo.h"
#include "DisparoE.h"
#include "Invasor.h"
#include "Nave1.h"

#include <GL/freeglut.h>

#include <cassert>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <ctime>
#include <exception>

// The volleys quicken by 1 ms each; past the 1999th the delay would reach 0 and
// then wrap to weeks in GLUT's unsigned delay, so it stays at 1 ms.
static const int kRetardoMinimoDisparo = 1;
// How often a held volley chain looks whether the game runs again (ms).
static const unsigned kSondeoRetenido = 50;

// The ship's explosion is in the registry for the current death: an invasion
// must not hand it over again on every tick.
static bool explosionNaveRegistrada = false;

// When the next game tick is due (GLUT_ELAPSED_TIME), -1 before the first run.
static long long proximoTick = -1;

// The volley chain met the game held: its next volley starts a fresh interval.
static bool rafagaRetenida = false;

static unsigned retardoDisparo();

static void explotarNave()
{
    if (explosionNaveRegistrada)
        return;
    explosionNaveRegistrada = true;
    nave->explotar();
    sonarEn(SONIDO_EXPLOSION_NAVE, nave);
}

// A shot fired with the ship pitched 90 degrees or more never gets below z 0;
// once it has left the star-field box it can hit nothing and goes too.
static bool lejosDelCampo(const Disparo* d)
{
    return d->getZ() > 110.0f || std::fabs(d->getY()) > 60.0f;
}

// Step 1: each player shot against the formation, first hit only.
static void impactosDisparos()
{
    size_t i = 0;
    while (i < disparos.size()) {
        Disparo* disparo = disparos[i];
        bool acerto = false;
        for (size_t j = 0; j < invasores.size(); j++) {
            Invasor* invasor = invasores[j];
            if (!invasor->colisiona(disparo))
                continue;
            puntaje += 10;
            redibujarVentana(ventanaScore);
            invasor->explotar();
            sonarEn(SONIDO_EXPLOSION_INVASOR, invasor);
            invasores.erase(invasores.begin() + (long)j);
            delete invasor;
            disparos.erase(disparos.begin() + (long)i);
            delete disparo;
            if (invasores.empty()) {
                nave->setDestinoX(0.0f);
                nave->setDestinoY(0.0f);
                nave->setDestinoZ(10.0f);
                armarTimer(CADENA_SALIDA, 20, timerSalida);
                sonar(SONIDO_SALIDA);
            }
            acerto = true;
            break;
        }
        // the shot is gone, so the next one now stands at i
        if (!acerto)
            i++;
    }
}

// Step 2.
static void moverDisparos()
{
    size_t i = 0;
    while (i < disparos.size()) {
        Disparo* disparo = disparos[i];
        disparo->mover();
        if (disparo->fueraDeCampo() || lejosDelCampo(disparo)) {
            disparos.erase(disparos.begin() + (long)i);
            delete disparo;
        } else {
            i++;
        }
    }
}

// Step 3: while the ship is lost, and once the game is over, enemy shots
// pass through its place: the score the table records stays the last one.
static void moverDisparosEnemigos()
{
    size_t i = 0;
    while (i < disparosEnemigos.size()) {
        DisparoE* disparo = disparosEnemigos[i];
        disparo->mover();
        if (!naveDestruida && !gameOver && nave->colisiona(disparo)) {
            disparosEnemigos.erase(disparosEnemigos.begin() + (long)i);
            delete disparo;
            nave->quitarEnergia();
            sonarEn(SONIDO_IMPACTO, nave);
            puntaje -= 20;
            energia = nave->getEnergia();
            redibujarVentana(ventanaScore);
            if (nave->getEnergia() == 0) {
                naveDestruida = true;
                explotarNave();
                armarTimer(CADENA_REVIVIR, 3000, timerRevivir);
            }
        } else if (disparo->fueraDeCampo()) {
            disparosEnemigos.erase(disparosEnemigos.begin() + (long)i);
            delete disparo;
        } else {
            i++;
        }
    }
}

// Step 4: an enemy ship within 10 units of the ship's z is an invasion.
static void avanzarFormacion()
{
    for (Invasor* invasor : invasores) {
        invasor->mover();
        if (invasor->getZ() + 10.0f > nave->getZ()) {
            if (!gameOver)
                sonar(SONIDO_DERROTA);
            gameOver = true;
            energia = 0;
            vidas = 0;
            explotarNave();
            redibujarVentana(ventanaScore);
            registrarPartida("invasion");
        }
    }
}

void actualizarJuego(int valor)
{
    assert(nave != nullptr);
    // the game tick serves every game: it only counts itself as run
    timerVigente(CADENA_JUEGO, valor);
    if (pausa != 1) {
        impactosDisparos();
        moverDisparos();
        moverDisparosEnemigos();
        avanzarFormacion();
    }
    redibujarVentana(ventanaPrincipal);
    armarTimer(CADENA_JUEGO, (unsigned)programarTick(proximoTick, glutGet(GLUT_ELAPSED_TIME), periodo),
               actualizarJuego);
}

void reglasIniciales()
{
    puntaje = 0;
    vidas = 3;
    energia = 100;
    periodo = 17;
    fps = 1000 / periodo;
    pausa = 1;
    pausaVisible = false;
    naveDestruida = false;
    gameOver = false;
    rondasDisparo = 0;
    explosionNaveRegistrada = false;
    rafagaRetenida = false;
}

int programarTick(long long& proximo, long long ahora, int periodo)
{
    // Each tick is due one period after the one before it was due, not after
    // it ran: a late start is made up by a shorter wait, or none, so the game
    // keeps its nominal rate on a busy machine. Two periods or more behind is
    // a stall: that time is let go instead of caught up in a burst of ticks.
    if (proximo < 0)
        proximo = ahora;
    proximo += periodo;
    if (proximo + 2LL * periodo <= ahora)
        proximo = ahora + periodo;
    const long long retardo = proximo > ahora ? proximo - ahora : 0;
    return retardo < INT_MAX ? (int)retardo : INT_MAX;
}

bool tickInminente()
{
    const long long falta = proximoTick - glutGet(GLUT_ELAPSED_TIME);
    // a tick due now may be the one asking; its own frame is never skipped
    return proximoTick >= 0 && falta > 0 && falta <= kPlazoPantalla;
}

// Camera sway and levelling of the ship's tilt, in the steps the moves tilt it.
void timerLento(int valor)
{
    assert(nave != nullptr && camara != nullptr);
    // like the game tick, it serves every game
    timerVigente(CADENA_LENTO, valor);
    if (pausa == 0) {
        camara->balancear();
        float rz = nave->getRotacionZ();
        if (rz > 0.0f)
            nave->setRotacionZ(rz - 3.0f);
        else if (rz < 0.0f)
            nave->setRotacionZ(rz + 3.0f);
        float rx = nave->getRotacionX();
        if (rx > 0.0f)
            nave->setRotacionX(rx - 2.0f);
        else if (rx < 0.0f)
            nave->setRotacionX(rx + 2.0f);
    }
    redibujarVentana(ventanaPrincipal);
    armarTimer(CADENA_LENTO, 100, timerLento);
}

// The opening fly-in uses the camera's own steps, set by init; the mouse move
// keeps its steps apart, so a drag cannot stall the fly-in.
void timerIntro(int valor)
{
    assert(camara != nullptr);
    if (!timerVigente(CADENA_INTRO, valor))
        return;
    camara->setOjoX(camara->getOjoX() + camara->getPasoX());
    camara->setOjoY(camara->getOjoY() + camara->getPasoY());
    camara->setOjoZ(camara->getOjoZ() + camara->getPasoZ());
    if (camara->getOjoX() < 0.0f || camara->getOjoY() < 0.0f || camara->getOjoZ() > 83.0f) {
        armarTimer(CADENA_INTRO, 50, timerIntro);
    } else {
        reanudar();
        armarTimer(CADENA_RECARGA, 200, timerRecarga);
        armarTimer(CADENA_DISPARO_ENEMIGO, retardoDisparo(), timerDisparoEnemigo);
    }
    redibujarVentana(ventanaPrincipal);
}

void timerRecarga(int valor)
{
    assert(nave != nullptr);
    if (!timerVigente(CADENA_RECARGA, valor))
        return;
    nave->recargar();
    armarTimer(CADENA_RECARGA, 200, timerRecarga);
    redibujarVentana(ventanaPrincipal);
}

// The delay to the next volley, 1 ms shorter after each, from the wave's own.
static unsigned retardoDisparo()
{
    const int retardo = dificultad(oleada).volea - rondasDisparo;
    return (unsigned)(retardo < kRetardoMinimoDisparo ? kRetardoMinimoDisparo : retardo);
}

// One volley: each enemy ship fires with the wave's chance (one in nine in the first).
void timerDisparoEnemigo(int valor)
{
    if (!timerVigente(CADENA_DISPARO_ENEMIGO, valor))
        return;
    // While the player's pause holds the game, or the window is away, no
    // volley fires and none quickens: the chain only looks again shortly, and
    // once the game runs on, the next volley waits a whole interval.
    if (juegoRetenido()) {
        rafagaRetenida = true;
        armarTimer(CADENA_DISPARO_ENEMIGO, kSondeoRetenido, timerDisparoEnemigo);
        return;
    }
    if (rafagaRetenida) {
        rafagaRetenida = false;
        armarTimer(CADENA_DISPARO_ENEMIGO, retardoDisparo(), timerDisparoEnemigo);
        return;
    }
    if (rondasDisparo < INT_MAX)
        rondasDisparo++;
    srand((unsigned)time(nullptr));
    activarVentanaPrincipal();
    for (Invasor* invasor : invasores) {
        if (rand() % dificultad(oleada).unoEn != 0)
            continue;
        DisparoE* disparo = nullptr;
        try {
            disparo = invasor->disparar();
        } catch (const std::exception&) {
            // the missile model loads with the first shot, inside this timer
            salirSinModelos();
        }
        disparosEnemigos.push_back(disparo);
        sonarEn(SONIDO_DISPARO_ENEMIGO, disparo);
    }
    armarTimer(CADENA_DISPARO_ENEMIGO, retardoDisparo(), timerDisparoEnemigo);
    redibujarVentana(ventanaPrincipal);
}

void timerRevivir(int valor)
{
    assert(nave != nullptr);
    if (!timerVigente(CADENA_REVIVIR, valor))
        return;
    if (vidas != 0) {
        nave->reiniciar();
        explosionNaveRegistrada = false;
        energia = nave->getEnergia();
        vidas -= 1;
        naveDestruida = false;
    } else {
        gameOver = true;
        registrarPartida("sin-vidas");
        sonar(SONIDO_DERROTA);
    }
    redibujarVentana(ventanaPrincipal);
    redibujarVentana(ventanaScore);
}

// The fly-out after the last enemy ship: 50 steps to z 10, then the game ends.
void timerSalida(int valor)
{
    assert(nave != nullptr);
    if (!timerVigente(CADENA_SALIDA, valor))
        return;
    nave->setX(nave->getX() + nave->getVelocidadX());
    nave->setY(nave->getY() + nave->getVelocidadY());
    nave->setZ(nave->getZ() + nave->getVelocidadZ());
    if (nave->getZ() > 10.0f) {
        armarTimer(CADENA_SALIDA, 20, timerSalida);
        redibujarVentana(ventanaPrincipal);
    } else {
        terminarTrasSalida();
    }
}
