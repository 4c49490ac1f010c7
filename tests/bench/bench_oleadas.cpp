// Waves 1 to 5 played on a clock of the bench's own, with the game's real
// rules, models and timers' callbacks: how soon the formation reaches a ship
// that does nothing, how many enemy shots a minute come, and how long a
// scripted player lasts who sweeps from side to side and fires on every
// reload. Then the objects, textures and lists held after one wave and after
// ten. Figures only.
//
// Usage: bench_oleadas [runs per wave]   (run on an X display, e.g. Xvfb)
//        bench_oleadas --jugar [waves]    the aiming player plays the real
//        game in real time through the input callbacks, wave after wave, and
//        stays at the table after the last one (to be looked at)
#include "globales.h"

#include "Camara.h"
#include "Disparo.h"
#include "DisparoE.h"
#include "Invasor.h"
#include "Nave1.h"
#include "ParticleSystem.h"

#include "e2e.h"
#include "gl_test.h"

#include <GL/freeglut.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <unistd.h>

// The clock the game reads: the volleys seed their dice with the second of
// the bench's clock, as they would with the wall clock.
// Playing in real time (--jugar) it is the wall clock, which the records'
// dates need.
static long long ahoraMs = 0;
static time_t base = 1700000000;
static bool relojPropio = true;
extern "C" time_t time(time_t* t)
{
    timespec pared;
    clock_gettime(CLOCK_REALTIME, &pared);
    const time_t s = relojPropio ? base + (time_t)(ahoraMs / 1000) : pared.tv_sec;
    if (t != nullptr)
        *t = s;
    return s;
}

struct Resultado {
    double segundos = 0; // until the game ended or the wave was won
    double tirosPorMinuto = 0;
    bool ganada = false;
};

enum Jugador {
    QUIETO,  // does nothing, standing clear of every shot
    BARRIDO, // sweeps from edge to edge, a row's height at a time
    PUNTERIA // goes under the first ship left and stays there
};

// One wave from the end of its fly-in, for at most `limite` s of play.
static Resultado jugar(int n, Jugador jugador, double limite)
{
    oleada = n;
    partida++;
    reponerEscena();
    reglasIniciales();
    pausa = 0;
    const bool bot = jugador != QUIETO;
    if (!bot)
        nave->setY(20.0f); // clear of every shot: only the formation ends it
    long long tick = 0, volea = dificultad(n).volea, recarga = 200, revivir = -1, paso = 0;
    int tiros = 0, sentido = -1, fila = 1;
    ahoraMs = 0;
    while (!gameOver && !invasores.empty() && ahoraMs < (long long)(limite * 1000)) {
        ahoraMs++;
        if (ahoraMs >= tick + 17) {
            tick = ahoraMs;
            actualizarJuego(partida);
            if (naveDestruida && revivir < 0)
                revivir = ahoraMs + 3000;
        }
        // the slow tick levels the ship's tilt, which steers its shots
        if (ahoraMs % 100 == 0)
            timerLento(0);
        if (ahoraMs == volea) {
            const size_t antes = disparosEnemigos.size();
            timerDisparoEnemigo(partida);
            tiros += (int)(disparosEnemigos.size() - antes);
            const int r = dificultad(n).volea - rondasDisparo;
            volea = ahoraMs + (r < 1 ? 1 : r);
        }
        if (ahoraMs == recarga) {
            timerRecarga(partida);
            recarga += 200;
            if (bot) {
                teclaDisparo = true;
                aplicarTeclas();
                teclaDisparo = false;
            }
        }
        if (ahoraMs == revivir) {
            timerRevivir(partida);
            revivir = -1;
        }
        // the bot's arrows repeat every 40 ms; at each edge of the box it
        // turns and moves to the other row's height
        if (bot && ahoraMs >= paso + 40) {
            paso = ahoraMs;
            float alto = posicionesInvasores[fila * 7][1];
            if (jugador == BARRIDO && (nave->getX() <= -30.0f || nave->getX() >= 30.0f)) {
                sentido = nave->getX() < 0.0f ? 1 : -1;
                fila = fila == 0 ? 1 : 0;
            } else if (jugador == PUNTERIA && !invasores.empty()) {
                const float dx = invasores.front()->getX() - nave->getX();
                sentido = dx > 0.5f ? 1 : dx < -0.5f ? -1 : 0;
                alto = invasores.front()->getY();
            }
            teclaIzquierda = sentido < 0;
            teclaDerecha = sentido > 0;
            teclaArriba = nave->getY() < alto - 0.5f;
            teclaAbajo = nave->getY() > alto + 0.5f;
            aplicarTeclas();
            limpiarTeclas();
        }
    }
    Resultado r;
    r.segundos = (double)ahoraMs / 1000.0;
    r.tirosPorMinuto = tiros * 60.0 / r.segundos;
    r.ganada = invasores.empty();
    if (getenv("ZK_BENCH_DETALLE") != nullptr)
        fprintf(stderr, "wave %d player %d: %.1f s, score %d, ships left %zu, lives %d, game over %d\n", n, (int)jugador,
                r.segundos, puntaje, invasores.size(), vidas, gameOver);
    return r;
}

static int contar(GLboolean (*es)(GLuint))
{
    int n = 0;
    for (GLuint i = 1; i < 4000; i++)
        n += es(i) ? 1 : 0;
    return n;
}

static long residenteKb()
{
    FILE* f = fopen("/proc/self/statm", "r");
    long paginas = 0, residentes = 0;
    if (f != nullptr) {
        if (fscanf(f, "%ld %ld", &paginas, &residentes) != 2)
            residentes = 0;
        fclose(f);
    }
    return residentes * (sysconf(_SC_PAGESIZE) / 1024);
}

static void figurasDeMemoria(const char* cuando)
{
    printf("  %-14s objects %d, particle systems %d, textures %d, lists %d, resident %ld kB\n", cuando,
           Dibujable::getInstancias(), ParticleSystem::instances(), contar(glIsTexture), contar(glIsList),
           residenteKb());
}

// --- the aiming player on the game's own timers ---

static int oleadasAJugar = 2;

static void pulsar(int tecla)
{
    special(tecla, 0, 0);
    specialUp(tecla, 0, 0);
}

static void timerJugador(int)
{
    if (finPorVictoria && oleada < oleadasAJugar) {
        keyboard('\r', 0, 0);
    } else if (pausa == 0 && !gameOver && !naveDestruida && !invasores.empty()) {
        const Invasor* blanco = invasores.front();
        if (blanco->getX() > nave->getX() + 0.5f)
            pulsar(GLUT_KEY_RIGHT);
        else if (blanco->getX() < nave->getX() - 0.5f)
            pulsar(GLUT_KEY_LEFT);
        if (blanco->getY() > nave->getY() + 0.5f)
            pulsar(GLUT_KEY_UP);
        else if (blanco->getY() < nave->getY() - 0.5f)
            pulsar(GLUT_KEY_DOWN);
        keyboard(' ', 0, 0);
        keyboardUp(' ', 0, 0);
    }
    glutTimerFunc(40, timerJugador, 0);
}

static int jugarEnVivo()
{
    glutDisplayFunc(display);
    glutReshapeFunc(reshape);
    glutKeyboardFunc(keyboard);
    glutKeyboardUpFunc(keyboardUp);
    glutSpecialFunc(special);
    glutSpecialUpFunc(specialUp);
    glutSetWindowTitle("Space Zarkons 3D");
    iniciarSonido(true);
    init();
    glutTimerFunc(40, timerJugador, 0);
    glutMainLoop();
    return 0;
}

int main(int argc, char** argv)
{
    if (argc > 1 && std::string(argv[1]) == "--jugar") {
        relojPropio = false;
        if (argc > 2)
            oleadasAJugar = atoi(argv[2]);
        if (getenv("DISPLAY") == nullptr || chdir(zk::gameDataParent().c_str()) != 0)
            return 1;
        ventanaPrincipal = zk::openWindow(640, 640, "Space Zarkons 3D");
        width = height = 640;
        return jugarEnVivo();
    }

    const int corridas = argc > 1 ? atoi(argv[1]) : 5;
    if (getenv("DISPLAY") == nullptr || corridas < 1) {
        fprintf(stderr, "usage: bench_oleadas [runs per wave >= 1], on an X display\n");
        return 1;
    }
    if (chdir(zk::gameDataParent().c_str()) != 0)
        return 1;
    // records off: a bench's games never reach the player's table
    setenv("XDG_DATA_HOME", "/proc/zk-sin-datos", 1);
    unsetenv("HOME");
    ventanaPrincipal = zk::openWindow(640, 640, "bench-oleadas");
    width = height = 640;
    montarEscena();
    // the missile model loads with the first shot of the process
    nave->recargar();
    Dibujable::eliminarSinAviso(nave->disparar());

    printf("wave  formation arrives  enemy shots/min  sweeping bot lasts (won)  aiming bot lasts (won)\n");
    for (int n = 1; n <= 5; n++) {
        double llegada = 0, tiros = 0, barre = 0, apunta = 0;
        int ganaBarre = 0, ganaApunta = 0;
        for (int c = 0; c < corridas; c++) {
            base += 977;
            const Resultado quieto = jugar(n, QUIETO, 600);
            llegada += quieto.segundos;
            tiros += quieto.tirosPorMinuto;
            const Resultado b = jugar(n, BARRIDO, 600);
            barre += b.segundos;
            ganaBarre += b.ganada ? 1 : 0;
            const Resultado a = jugar(n, PUNTERIA, 600);
            apunta += a.segundos;
            ganaApunta += a.ganada ? 1 : 0;
        }
        printf("%4d  %15.1f s  %15.1f  %15.1f s (%2d of %d)  %12.1f s (%2d of %d)\n", n, llegada / corridas,
               tiros / corridas, barre / corridas, ganaBarre, corridas, apunta / corridas, ganaApunta, corridas);
    }

    // memory: ten waves won in a row, each by shooting every ship
    printf("memory and GL objects:\n");
    auto ganar = [] {
        for (const Invasor* i : invasores)
            disparos.push_back(new Disparo(i->getX(), i->getY(), i->getZ(), 0, 0, 0));
        actualizarJuego(partida);
        for (int i = 0; i < 100 && !finPorVictoria; i++)
            timerSalida(partida);
        siguienteOleada();
        pausa = 0;
    };
    oleada = 1;
    partida++;
    reponerEscena();
    reglasIniciales();
    pausa = 0;
    ganar();
    figurasDeMemoria("after 1 wave");
    for (int i = 0; i < 9; i++)
        ganar();
    figurasDeMemoria("after 10 waves");
    return 0;
}
