// Playback heard through OpenAL's file output: where a sound comes from, how
// loud at a distance, muting, the pool of sources, and a missing device.
#include "sound.h"
#include "e2e.h"
#include "wav.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// A short tone and a long one, plain sines, easy to find in the recording.
const zk_effect_t kTonos[2] = {
    {"tono", 0.25f, 0.5f, 1, {{ZK_WAVE_SINE, 0.0f, 0.25f, 440.0f, 440.0f, 0.005f, 0.0f, 1.0f, 0.0f, 0.0f}}},
    {"largo", 0.9f, 0.5f, 1, {{ZK_WAVE_SINE, 0.0f, 0.9f, 300.0f, 300.0f, 0.005f, 0.0f, 1.0f, 0.0f, 0.0f}}},
};
const int kSilencio = 8; // above this a sample is sound, not rounding

// Each test is its own process (ctest), so each gets OpenAL afresh with its config.
class Sonido : public ::testing::Test {
protected:
    void SetUp() override { salida.useInThisProcess(); }
    void TearDown() override { zk_sound_close(); }

    // Closes the device (which finishes the file) and reads what it wrote.
    zk::Wav grabacion()
    {
        zk_sound_close();
        zk::Wav w;
        EXPECT_TRUE(zk::readWav(salida.file, w)) << salida.file;
        return w;
    }
    // Where the mix is right now, in frames of the file.
    size_t ahora(const zk::Wav& formato) const { return formato.frameAtBytes(salida.bytesWritten()); }

    zk::WaveOutput salida;
};

void mirarDesde(float ex, float ey, float ez, float ax, float ay, float az)
{
    const float ojo[3] = {ex, ey, ez}, centro[3] = {ax, ay, az}, arriba[3] = {0, 1, 0};
    zk_sound_listener(ojo, centro, arriba);
}

TEST(SonidoArgumentos, MuteIsTakenOutAndEverythingElseKeepsItsOrder)
{
    char a0[] = "juego", a1[] = "-display", a2[] = ":1", a3[] = "--mute", a4[] = "-gldebug",
         a5[] = "--mute", a6[] = "--mute=no", a7[] = "-mute";
    char* argv[] = {a0, a1, a3, a2, a4, a5, a6, a7, nullptr};
    int argc = 8;
    EXPECT_TRUE(zk_sound_take_mute(&argc, argv));
    ASSERT_EQ(argc, 6);
    const char* quedan[] = {"juego", "-display", ":1", "-gldebug", "--mute=no", "-mute"};
    for (int i = 0; i < 6; i++)
        EXPECT_STREQ(argv[i], quedan[i]);
    EXPECT_EQ(argv[6], nullptr);

    // the program's own name is never taken, and no option means no change
    char* solo[] = {a3, a1, nullptr};
    int n = 2;
    EXPECT_FALSE(zk_sound_take_mute(&n, solo));
    EXPECT_EQ(n, 2);
    EXPECT_STREQ(solo[0], "--mute");
}

TEST_F(Sonido, SidesFollowTheListenersAim)
{
    zk_sound_open(kTonos, 2, false);
    ASSERT_TRUE(zk_sound_active());
    // looking down -z: -x is on the left
    mirarDesde(0, 0, 10, 0, 0, 0);
    zk_sound_play_at(0, -10.0f, 0.0f, 0.0f);
    zk::sleepMs(450);
    // turned round, looking down +z: the same point is on the right
    mirarDesde(0, 0, -10, 0, 0, 0);
    zk_sound_play_at(0, -10.0f, 0.0f, 0.0f);
    salida.waitForSound(salida.bytesWritten(), 0.45);

    const zk::Wav w = grabacion();
    ASSERT_EQ(w.channels, 2);
    const long a = w.firstAbove(0, kSilencio);
    ASSERT_GE(a, 0) << "nothing was heard";
    const size_t largo = (size_t)(0.2 * w.rate);
    const long b = w.firstAbove((size_t)a + (size_t)(0.3 * w.rate), kSilencio);
    ASSERT_GE(b, 0) << "the second sound was not heard";
    EXPECT_GT(w.rms(a, a + largo, 0), 1.5 * w.rms(a, a + largo, 1)) << "first: left over right";
    EXPECT_GT(w.rms(b, b + largo, 1), 1.5 * w.rms(b, b + largo, 0)) << "second: right over left";
}

TEST_F(Sonido, FarSoundsAreQuieterAndPanIsLevelInTheMiddle)
{
    zk_sound_open(kTonos, 2, false);
    mirarDesde(0, 0, 0, 0, 0, -1);
    zk_sound_play_at(0, 0.0f, 0.0f, -30.0f);
    zk::sleepMs(400);
    zk_sound_play_at(0, 0.0f, 0.0f, -120.0f);
    zk::sleepMs(400);
    zk_sound_play_pan(0, 0.0f);
    salida.waitForSound(salida.bytesWritten(), 0.4);

    const zk::Wav w = grabacion();
    const size_t largo = (size_t)(0.2 * w.rate);
    const long cerca = w.firstAbove(0, kSilencio);
    ASSERT_GE(cerca, 0);
    const long lejos = w.firstAbove((size_t)cerca + (size_t)(0.3 * w.rate), kSilencio);
    ASSERT_GE(lejos, 0);
    const long medio = w.firstAbove((size_t)lejos + (size_t)(0.3 * w.rate), kSilencio);
    ASSERT_GE(medio, 0);
    const int pc = w.peak(cerca, cerca + largo, 0), pl = w.peak(lejos, lejos + largo, 0);
    EXPECT_LT(pl, pc / 2) << "four times as far should be about a quarter as loud";
    EXPECT_GT(pl, pc / 8);
    // straight ahead is the same in both ears, and never clips
    EXPECT_NEAR(w.rms(medio, medio + largo, 0), w.rms(medio, medio + largo, 1), 0.05 * w.rms(medio, medio + largo, 0));
    EXPECT_LT(w.peak(0, w.frames(), 0), 32767);
}

TEST_F(Sonido, MutingSilencesAtOnceAndUnmutingPlaysAgain)
{
    zk_sound_open(kTonos, 2, false);
    zk_sound_play_pan(1, 0.0f); // the long one
    zk::sleepMs(200);
    zk_sound_set_muted(true);
    EXPECT_TRUE(zk_sound_muted());
    EXPECT_FALSE(zk_sound_active());
    zk::sleepMs(100);
    zk_sound_play_pan(0, 0.0f); // not heard
    zk::sleepMs(400);
    const size_t antesDeVolver = salida.bytesWritten();
    zk_sound_set_muted(false);
    zk_sound_play_pan(0, 0.0f);
    salida.waitForSound(salida.bytesWritten(), 0.4);

    const zk::Wav w = grabacion();
    const long inicio = w.firstAbove(0, kSilencio);
    ASSERT_GE(inicio, 0);
    // the long tone stopped well before its 0.9 s were up
    const long corte = w.lastAbove(w.frameAtBytes(antesDeVolver), kSilencio);
    EXPECT_LT(corte - inicio, (long)(0.45 * w.rate));
    // and after unmuting, the short tone is heard
    const long vuelta = w.firstAbove(w.frameAtBytes(antesDeVolver), kSilencio);
    EXPECT_GE(vuelta, 0);
}

// A hidden window holds the sound: the long tone stops, nothing new is heard,
// and the release brings sound back without touching the mute setting.
TEST_F(Sonido, HoldingSilencesUntilReleasedAndKeepsTheMuteSetting)
{
    zk_sound_open(kTonos, 2, false);
    zk_sound_play_pan(1, 0.0f);
    zk::sleepMs(200);
    zk_sound_hold(true);
    EXPECT_FALSE(zk_sound_active());
    EXPECT_FALSE(zk_sound_muted());
    zk::sleepMs(100);
    const size_t retenida = salida.bytesWritten();
    zk_sound_play_pan(0, 0.0f);
    zk_sound_play_at(0, 0.0f, 0.0f, -5.0f);
    zk::sleepMs(400);
    const size_t antesDeSoltar = salida.bytesWritten();
    zk_sound_hold(false);
    EXPECT_TRUE(zk_sound_active());
    zk_sound_play_pan(0, 0.0f);
    salida.waitForSound(salida.bytesWritten(), 0.4);

    const zk::Wav w = grabacion();
    // the long tone had 0.6 s to go: nothing from the hold to the release
    const long trasRetener = w.firstAbove(w.frameAtBytes(retenida), kSilencio);
    ASSERT_GE(trasRetener, 0) << "released, yet silent";
    EXPECT_GE(trasRetener, (long)w.frameAtBytes(antesDeSoltar)) << "held, yet something sounded";
}

TEST_F(Sonido, StartedMutedOpensNoDeviceUntilAskedForSound)
{
    zk_sound_open(kTonos, 2, true);
    zk_sound_play_pan(0, 0.0f);
    EXPECT_FALSE(zk_sound_active());
    struct stat st;
    EXPECT_NE(stat(salida.file.c_str(), &st), 0) << "muted from the start, yet the device was opened";

    zk_sound_set_muted(false);
    ASSERT_TRUE(zk_sound_active());
    zk_sound_play_pan(0, 0.0f);
    salida.waitForSound(salida.bytesWritten(), 0.4);
    const zk::Wav w = grabacion();
    EXPECT_GE(w.firstAbove(0, kSilencio), 0);
}

TEST_F(Sonido, WithEverySourceBusyTheOldestGivesWay)
{
    zk_sound_open(kTonos, 2, false);
    for (int i = 0; i < 20; i++)
        zk_sound_play_pan(1, -1.0f); // long tones on the left fill the pool
    zk::sleepMs(100);
    const size_t antes = salida.bytesWritten();
    zk_sound_play_pan(0, 1.0f);  // one more, on the right
    salida.waitForSound(salida.bytesWritten(), 0.4);
    const zk::Wav w = grabacion();
    const size_t desde = w.frameAtBytes(antes);
    EXPECT_GT(w.peak(desde, w.frames(), 1), 1000) << "the newest sound was dropped";
    EXPECT_GT(w.peak(desde, desde + (size_t)(0.1 * w.rate), 0), 1000) << "the left ones went quiet";
}

// The busiest moment play can bring: every source of the pool sounding the
// loudest effect at once, from straight ahead, where both channels get it.
// The mix stays below full scale, and one effect alone keeps its level.
TEST_F(Sonido, EverySourceAtOnceStaysBelowFullScaleAndOneAloneKeepsItsLevel)
{
    const zk_effect_t fuerte[1] = {
        {"fuerte", 0.5f, 0.9f, 1, {{ZK_WAVE_SQUARE, 0.0f, 0.5f, 220.0f, 220.0f, 0.002f, 0.0f, 1.0f, 0.0f, 0.0f}}}};
    zk_sound_open(fuerte, 1, false);
    ASSERT_TRUE(zk_sound_active());
    zk_sound_play_pan(0, -1.0f); // alone, all on the left
    zk::sleepMs(700);
    const size_t juntos = salida.bytesWritten();
    for (int i = 0; i < 20; i++)
        zk_sound_play_pan(0, 0.0f);
    zk::sleepMs(300);
    // and all round a listener that looks down -z, near and far
    mirarDesde(0, 0, 0, 0, 0, -1);
    for (int i = 0; i < 20; i++)
        zk_sound_play_at(0, (float)(i % 5 - 2) * 12.0f, (float)(i % 3 - 1) * 5.0f, -5.0f - (float)(i % 4) * 15.0f);
    zk::sleepMs(700);
    const zk::Wav w = grabacion();
    ASSERT_EQ(w.channels, 2);

    const long solo = w.firstAbove(0, kSilencio);
    ASSERT_GE(solo, 0) << "nothing was heard";
    const size_t medio = (size_t)solo + (size_t)(0.1 * w.rate), largo = (size_t)(0.2 * w.rate);
    const std::vector<int16_t> m = zk_sound_synth(fuerte[0]);
    double rms = 0;
    for (size_t i = (size_t)(0.1 * ZK_SOUND_RATE); i < (size_t)(0.3 * ZK_SOUND_RATE); i++)
        rms += (double)m[i] * m[i];
    rms = std::sqrt(rms / (0.2 * ZK_SOUND_RATE));
    const double db = 20 * std::log10(w.rms(medio, medio + largo, 0) / rms);
    printf("one effect: %.2f dB from its rendering\n", db);
    EXPECT_LT(std::fabs(db), 1.0) << "a single effect changed its loudness";

    const size_t desde = w.frameAtBytes(juntos);
    ASSERT_GE(w.firstAbove(desde, 10000), 0) << "the pool was not heard";
    const int pico = std::max(w.peak(desde, w.frames(), 0), w.peak(desde, w.frames(), 1));
    printf("every source at once: peak %d\n", pico);
    EXPECT_LT(pico, 32767) << "the mix clipped";
}

// A machine without a sound card: the audio libraries' own complaints are
// kept back, and the game's one line is all stderr gets.
TEST_F(Sonido, WithoutADeviceTheGameIsToldOnceAndPlaysOnSilent)
{
    const std::string conf = "/tmp/zk-sin-tarjeta-" + std::to_string(getpid()) + ".conf";
    FILE* f = fopen(conf.c_str(), "w");
    ASSERT_NE(f, nullptr);
    fputs("[alsa]\ndevice = hw:97,0\n", f);
    fclose(f);
    setenv("ALSOFT_CONF", conf.c_str(), 1);
    setenv("ALSOFT_DRIVERS", "alsa", 1);
    testing::internal::CaptureStderr();
    zk_sound_open(kTonos, 2, false);
    zk_sound_play_pan(0, 0.0f);
    zk_sound_play_at(0, 1.0f, 2.0f, 3.0f);
    mirarDesde(0, 0, 0, 0, 0, -1);
    zk_sound_set_muted(true);
    zk_sound_set_muted(false);
    zk_sound_play_pan(0, 0.0f);
    zk_sound_close();
    zk_sound_close();
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_FALSE(zk_sound_active());
    size_t veces = 0;
    for (size_t p = err.find("Sin sonido"); p != std::string::npos; p = err.find("Sin sonido", p + 1))
        veces++;
    EXPECT_EQ(veces, 1u) << err;
    EXPECT_EQ(err.rfind("Sin sonido", 0), 0u) << err;
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
    unlink(conf.c_str());
}

} // namespace
