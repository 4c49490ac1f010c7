// Both games heard as a player hears them: OpenAL writes each game's mix to
// a WAV file, and the tests look at it next to what they did with the keys.
#include "../space-zarkons-3d/core/datos_prueba.h"
#include "e2e.h"
#include "wav.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <thread>
#include <sys/stat.h>

namespace {

[[maybe_unused]] const int sinCacheDeShaders = setenv("MESA_SHADER_CACHE_DISABLE", "true", 0);

const int kSilencio = 8;        // above this a sample is sound
// Seconds from a key to its sound, at most: far above the tens of ms a quiet
// machine takes (printed below; bench_sonido measures it), so that a loaded
// one passes, yet well under the gap that tells this key's sound from a later one.
const double kReaccion = 0.500;

// One run of a game whose sound goes to a file.
class Oido : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (getenv("DISPLAY") == nullptr)
            GTEST_SKIP() << "no X display: run the suite through ./test.sh";
        salida.useInThisProcess();
    }
    void TearDown() override
    {
        if (teclado != nullptr)
            pclose(teclado);
        juego.reset();
        if (!dir.empty())
            zk::borrarDatosPrueba(dir);
    }

    void empezarSpace(const std::vector<std::string>& args = {})
    {
        dir = zk::crearDatosPrueba();
        empezar("space-zarkons-3d", "Space Zarkons 3D", args, dir);
    }
    void empezarTie(const std::vector<std::string>& args = {})
    {
        empezar("tie-zarkons", "Tie Zarkons", args, "/tmp");
    }
    void empezar(const char* exe, const char* titulo, const std::vector<std::string>& args,
                 const std::string& cwd)
    {
        juego = std::make_unique<zk::GameProcess>(zk::binaryPath(exe), args, cwd);
        ASSERT_TRUE(juego->start());
        ASSERT_FALSE(juego->findWindow(titulo).empty()) << juego->errors();
    }

    // Presses a key straight away (the window already has the focus) and
    // returns where the mix stood just before. One xdotool stays running and
    // takes its keys from a pipe: the time a loaded machine needs to start a
    // program is not the game's.
    size_t pulsar(const std::string& tecla)
    {
        if (teclado == nullptr)
            teclado = popen("xdotool - >/dev/null 2>&1", "w");
        const size_t antes = salida.bytesWritten();
        fprintf(teclado, "keydown %s\n", tecla.c_str());
        fflush(teclado);
        zk::sleepMs(30);
        fprintf(teclado, "keyup %s\n", tecla.c_str());
        fflush(teclado);
        return antes;
    }

    // Presses `tecla` every 150 ms until a sound follows; returns where the
    // mix stood before the press that was heard (-1 if none in time). A sound
    // that began before that press came from an earlier one, too late.
    long hastaOir(const std::string& tecla, double segundos)
    {
        size_t previo = salida.bytesWritten();
        for (int i = 0; i < (int)(segundos / 0.15); i++) {
            const size_t antes = pulsar(tecla);
            zk::sleepMs(120);
            zk::Wav w;
            const long suena = zk::readWav(salida.file, w) ? w.firstAbove(w.frameAtBytes(previo), kSilencio) : -1;
            if (suena >= 0) {
                // (the file may already hold the first few ms of a quick answer)
                EXPECT_GE(suena, (long)w.frameAtBytes(antes) - (long)(0.03 * w.rate))
                    << "a key was heard only after the next";
                return (long)antes;
            }
            previo = antes;
        }
        return -1;
    }

    // Waits until the last `segundos` of the recording are silent.
    void esperarSilencio(double segundos)
    {
        const auto fin = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        zk::Wav w;
        while (std::chrono::steady_clock::now() < fin && juego->running()) {
            const size_t n = zk::readWav(salida.file, w) ? w.frames() : 0;
            const size_t largo = (size_t)(segundos * w.rate);
            if (n > largo && std::max(w.peak(n - largo, n, 0), w.peak(n - largo, n, 1)) <= kSilencio)
                return;
            zk::sleepMs(50);
        }
    }

    int lineas(const std::string& texto) const
    {
        const std::string out = juego->output();
        int n = 0;
        for (size_t p = out.find(texto); p != std::string::npos; p = out.find(texto, p + 1))
            n++;
        return n;
    }

    // Waits until the game has written `texto` n times; returns where the mix
    // stood then, or -1 on timeout.
    long esperarLineas(const std::string& texto, int n, double segundos)
    {
        for (int i = 0; i < (int)(segundos / 0.01); i++) {
            if (lineas(texto) >= n)
                return (long)salida.bytesWritten();
            zk::sleepMs(10);
        }
        return -1;
    }

    void salirConEscape()
    {
        juego->key("Escape");
        EXPECT_EQ(juego->waitExit(20), 0) << juego->errors();
    }

    zk::Wav grabacion()
    {
        zk::Wav w;
        EXPECT_TRUE(zk::readWav(salida.file, w)) << "no sound file at " << salida.file;
        return w;
    }

    bool hayArchivo() const
    {
        struct stat st;
        return stat(salida.file.c_str(), &st) == 0;
    }

    // From the key to its sound: under the reaction time, then a quiet gap.
    void oirAlMomento(const zk::Wav& w, size_t antes, double silencioDesde, double silencioHasta)
    {
        const size_t desde = w.frameAtBytes(antes);
        const long suena = w.firstAbove(desde, kSilencio);
        ASSERT_GE(suena, 0) << "the key made no sound: key at frame " << desde << " of " << w.frames()
                            << ", last sound at " << w.lastAbove(w.frames(), kSilencio);
        const double tarda = (double)(suena - (long)desde) / w.rate;
        EXPECT_LT(tarda, kReaccion) << "heard too late";
        printf("heard %.0f ms after the key\n", 1000 * tarda);
        const size_t a = (size_t)suena + (size_t)(silencioDesde * w.rate);
        const size_t b = (size_t)suena + (size_t)(silencioHasta * w.rate);
        ASSERT_GT(w.frames(), b) << "the recording ended too soon";
        EXPECT_LE(std::max(w.peak(a, b, 0), w.peak(a, b, 1)), kSilencio) << "not silent afterwards";
    }

    zk::WaveOutput salida;
    FILE* teclado = nullptr; // the running xdotool's input
    std::string dir;
    std::unique_ptr<zk::GameProcess> juego;
};

TEST_F(Oido, SpaceShotIsHeardAtOnceAndABurstOnTheLeftComesFromTheLeft)
{
    empezarSpace();
    // the first shot comes once the fly-in is over and the gun has reloaded
    const long antes = hastaOir("space", 20);
    ASSERT_GE(antes, 0) << "no shot was ever heard";
    const auto enJuego = std::chrono::steady_clock::now();
    // to x -20, below the lower row's leftmost ship: one gun or the other
    // hits it or its neighbour wherever the sweep has taken them
    zk::runCommand("xdotool key --delay 12 --repeat 20 Left >/dev/null 2>&1");
    // the first shot bursts an enemy ship near the middle (or flies off):
    // that burst must not be taken for the next one
    ASSERT_GE(esperarLineas("Disparo destruido", 1, 8.0), 0) << "the first shot never ended";
    // and the enemy's first volley, two seconds into play, is let go by
    std::this_thread::sleep_until(enJuego + std::chrono::milliseconds(2400));
    const int antesDelSegundo = lineas("Invasor destruido");
    pulsar("space");
    const long estallido = esperarLineas("Invasor destruido", antesDelSegundo + 1, 20.0);
    salida.waitForSound(estallido >= 0 ? (size_t)estallido : 0, 0.3);
    const zk::Wav w = grabacion();
    salirConEscape();
    ASSERT_EQ(w.channels, 2);
    // the shot, then quiet while it flies (about half a second)
    oirAlMomento(w, (size_t)antes, 0.22, 0.32);

    ASSERT_GE(estallido, 0) << "the shot from the left hit nothing";
    // the burst sounds in the tick that destroys the ship, which is when the
    // line is written; seen here a little after, through the file
    const size_t desde = w.frameAtBytes((size_t)estallido) - (size_t)(0.05 * w.rate);
    const size_t hasta = desde + (size_t)(0.3 * w.rate);
    const double izquierda = w.rms(desde, hasta, 0), derecha = w.rms(desde, hasta, 1);
    EXPECT_GT(izquierda, 1.3 * derecha) << "left " << izquierda << ", right " << derecha;
    printf("burst: left %.0f, right %.0f (rms)\n", izquierda, derecha);
}

TEST_F(Oido, SpaceMuteKeySilencesPlayAndBringsSoundBack)
{
    empezarSpace();
    zk::sleepMs(1600);
    const size_t mudo = pulsar("m");
    // play goes on: shots fly and, after two seconds, the enemy fires
    for (int i = 0; i < 12; i++) {
        juego->key("space");
        zk::sleepMs(200);
    }
    zk::sleepMs(800);
    const size_t vuelve = pulsar("m");
    EXPECT_GE(hastaOir("space", 5), 0) << "no sound after unmuting";
    salirConEscape();
    EXPECT_NE(juego->output().find("Disparo destruido"), std::string::npos) << "no shot was fired";

    const zk::Wav w = grabacion();
    const size_t a = w.frameAtBytes(mudo), b = w.frameAtBytes(vuelve);
    ASSERT_GT(b, a + (size_t)(2.5 * w.rate));
    EXPECT_LE(std::max(w.peak(a, b, 0), w.peak(a, b, 1)), kSilencio) << "heard while muted";
}

TEST_F(Oido, SpaceMuteOptionOpensNoSoundUntilTheKey)
{
    empezarSpace({"--mute"});
    zk::sleepMs(1600);
    for (int i = 0; i < 10; i++) {
        juego->key("space");
        zk::sleepMs(200);
    }
    EXPECT_FALSE(hayArchivo()) << "muted from the start, yet sound was mixed";
    pulsar("m");
    EXPECT_GE(hastaOir("space", 5), 0) << "no sound after the M key";
    salirConEscape();
    EXPECT_NE(juego->output().find("Disparo destruido"), std::string::npos);
}

// Tie Zarkons, paused in play: nothing moves and no Tie fires, but 'M' still
// fires the X-Wing, so its shot is the only sound.
class OidoTie : public Oido {
protected:
    static int cuantos(const zk::Image& im, int x0, int y0, int x1, int y1, bool (*que)(const unsigned char*))
    {
        int n = 0;
        for (int y = std::max(0, y0); y < std::min(im.height, y1); y++)
            for (int x = std::max(0, x0); x < std::min(im.width, x1); x++)
                n += que(im.at(x, y)) ? 1 : 0;
        return n;
    }
    static bool morado(const unsigned char* p) { return p[2] > 60 && p[0] > 30 && p[1] * 2 < p[0] && p[2] > p[0]; }
    static bool amarillo(const unsigned char* p) { return p[0] > 90 && p[1] > 90 && p[2] * 3 < p[0]; }

    void aJugarEnPausa(bool conSonido)
    {
        // clear of the test windows other suites open right of the corner
        zk::runCommand("xdotool windowmove --sync " + juego->window() + " 0 0 >/dev/null 2>&1");
        juego->key("x"); // past the opening line
        juego->waitNewFrames();
        juego->key("x"); // and the title
        ASSERT_TRUE(juego->waitForImage([](const zk::Image& im) {
            return cuantos(im, 0, 0, im.width, im.height, morado) > 2000; }, 20)) << "no play field";
        juego->waitNewFrames(8); // the X-Wing's gun is ready after six ticks, a frame each
        juego->key("a");
        ASSERT_TRUE(juego->waitForImage([](const zk::Image& im) {
            return cuantos(im, 230, 180, 410, 250, amarillo) > 300; }, 10)) << "no pause";
        // let whatever the Ties fired before the pause die away
        if (conSonido)
            esperarSilencio(0.5);
        else
            zk::sleepMs(300);
    }
};

TEST_F(OidoTie, TieShotIsHeardAtOnceAndThenSilence)
{
    empezarTie();
    ASSERT_NO_FATAL_FAILURE(aJugarEnPausa(true));
    const size_t antes = pulsar("m");
    salida.waitForSound(antes, 1.0); // the reaction and the quiet after it
    const zk::Wav w = grabacion();
    oirAlMomento(w, antes, 0.2, 0.5);
    salirConEscape();
}

TEST_F(OidoTie, TieMuteOptionAndSoundKey)
{
    empezarTie({"--mute"});
    ASSERT_NO_FATAL_FAILURE(aJugarEnPausa(false));
    pulsar("m");
    zk::sleepMs(300);
    EXPECT_FALSE(hayArchivo()) << "muted from the start, yet sound was mixed";

    // V brings the sound; a few ticks of play arm the gun again
    pulsar("v");
    juego->key("a");
    juego->waitNewFrames(8);
    juego->key("a");
    zk::sleepMs(1000);
    const size_t antes = pulsar("m");
    salida.waitForSound(antes, 0.3);
    // and V again silences it
    const size_t mudo = pulsar("v");
    pulsar("m"); // (through the same xdotool: the game gets the keys in order)
    zk::sleepMs(400); // no file grows when muted: this is the time it is given to sound
    const zk::Wav w = grabacion();
    salirConEscape();
    EXPECT_GE(w.firstAbove(w.frameAtBytes(antes), kSilencio), 0) << "no sound after the V key";
    const size_t a = w.frameAtBytes(mudo) + (size_t)(0.05 * w.rate);
    EXPECT_LE(std::max(w.peak(a, w.frames(), 0), w.peak(a, w.frames(), 1)), kSilencio);
}

// No device at all: each game says so once on stderr, plays and ends as ever.
TEST_F(Oido, WithoutAnyDeviceBothGamesPlayAndEndAsAlways)
{
    setenv("ALSOFT_DRIVERS", "ninguno", 1);
    for (const char* exe : {"space-zarkons-3d", "tie-zarkons"}) {
        SCOPED_TRACE(exe);
        const bool space = std::string(exe) == "space-zarkons-3d";
        if (space)
            empezarSpace();
        else
            empezarTie();
        zk::sleepMs(space ? 1600 : 0);
        if (!space) {
            zk::sleepMs(500);
            juego->key("x");
            zk::sleepMs(200);
            juego->key("x");
            zk::sleepMs(300);
        }
        for (int i = 0; i < 5; i++) {
            juego->key(space ? "space" : "m");
            zk::sleepMs(150);
        }
        EXPECT_TRUE(juego->running());
        salirConEscape();
        const std::string err = juego->errors();
        size_t veces = 0;
        for (size_t p = err.find("Sin sonido"); p != std::string::npos; p = err.find("Sin sonido", p + 1))
            veces++;
        EXPECT_EQ(veces, 1u) << err;
        EXPECT_EQ(juego->output().find("Sin sonido"), std::string::npos);
        EXPECT_FALSE(hayArchivo());
        juego.reset();
        if (!dir.empty())
            zk::borrarDatosPrueba(dir);
        dir.clear();
    }
}

} // namespace
