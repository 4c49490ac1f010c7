// Playback through OpenAL: one buffer per effect, a small pool of sources
// (the oldest sound gives way when all are busy), the listener where the
// game's eye is. Nothing here ever waits for the sound to play.
#include "sound.h"

#include <AL/al.h>
#include <AL/alc.h>

#include <cassert>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <unistd.h>

// --- constants ---

static const int kFuentes = 12;
// A world sound is heard at full level up to this distance and at half level
// at twice it; a player's ship sits about this far from the eye.
static const float kDistanciaReferencia = 30.0f;

// --- file state ---

static std::vector<std::vector<int16_t>> muestras; // each effect, rendered
static std::vector<ALuint> buffers;                // their OpenAL buffers
static ALuint fuentes[kFuentes];
static unsigned long inicioFuente[kFuentes]; // when each source last started
static unsigned long reloj = 0;              // counts the sounds started
static ALCdevice* dispositivo = nullptr;
static ALCcontext* contexto = nullptr;
static bool abierto = false;   // device, context, buffers and sources ready
static bool fallo = false;     // OpenAL failed once: silent for good, said once
static bool mudo = false;
static bool retenido = false; // zk_sound_hold: silent whatever mudo says
static bool cierreRegistrado = false;
static float oyente[9] = {0.0f, 0.0f, 0.0f, 0.0f, 0.0f, -1.0f, 0.0f, 1.0f, 0.0f};

// --- helpers ---

static void sinSonido(const char* por_que)
{
    fprintf(stderr, "Sin sonido: %s\n", por_que);
    fallo = true;
}

static void aplicarOyente()
{
    const float orientacion[6] = {oyente[3] - oyente[0], oyente[4] - oyente[1], oyente[5] - oyente[2],
                                  oyente[6], oyente[7], oyente[8]};
    alListener3f(AL_POSITION, oyente[0], oyente[1], oyente[2]);
    alListenerfv(AL_ORIENTATION, orientacion);
    alListenerf(AL_GAIN, mudo ? 0.0f : 1.0f);
}

static void liberarDispositivo()
{
    if (contexto != nullptr) {
        alcMakeContextCurrent(nullptr);
        alcDestroyContext(contexto);
        contexto = nullptr;
    }
    if (dispositivo != nullptr) {
        alcCloseDevice(dispositivo);
        dispositivo = nullptr;
    }
}

// Opens the default device. The system's audio libraries write their own
// complaints to stderr while a device is tried (a dozen lines where there is
// no sound card): they are held in a temporary file, dropped when the open
// fails, where our one line says why, and passed on when it works.
static ALCdevice* abrirPorDefecto()
{
    fflush(stderr);
    FILE* aparte = tmpfile();
    const int original = aparte != nullptr ? dup(2) : -1;
    if (original < 0) {
        if (aparte != nullptr)
            fclose(aparte);
        return alcOpenDevice(nullptr);
    }
    dup2(fileno(aparte), 2);
    ALCdevice* d = alcOpenDevice(nullptr);
    fflush(stderr);
    dup2(original, 2);
    close(original);
    if (d != nullptr) {
        rewind(aparte);
        char linea[512];
        size_t n;
        while ((n = fread(linea, 1, sizeof linea, aparte)) > 0)
            fwrite(linea, 1, n, stderr);
    }
    fclose(aparte);
    return d;
}

// Opens the default device and loads every effect into it. On any failure the
// game goes on silent, after one line saying why.
static void abrirDispositivo()
{
    if (abierto || fallo)
        return;
    dispositivo = abrirPorDefecto();
    if (dispositivo == nullptr) {
        sinSonido("no hay dispositivo de audio (OpenAL no pudo abrir ninguno)");
        return;
    }
    contexto = alcCreateContext(dispositivo, nullptr);
    if (contexto == nullptr || !alcMakeContextCurrent(contexto)) {
        sinSonido("OpenAL no pudo crear el contexto de audio");
        liberarDispositivo();
        return;
    }
    alGetError();
    buffers.assign(muestras.size(), 0);
    alGenBuffers((ALsizei)buffers.size(), buffers.data());
    for (size_t i = 0; i < muestras.size(); i++)
        alBufferData(buffers[i], AL_FORMAT_MONO16, muestras[i].data(),
                     (ALsizei)(muestras[i].size() * sizeof(int16_t)), ZK_SOUND_RATE);
    alGenSources(kFuentes, fuentes);
    if (alGetError() != AL_NO_ERROR) {
        sinSonido("OpenAL no pudo cargar los efectos");
        liberarDispositivo();
        return;
    }
    alDistanceModel(AL_INVERSE_DISTANCE_CLAMPED);
    for (int i = 0; i < kFuentes; i++)
        inicioFuente[i] = 0;
    abierto = true;
    aplicarOyente();
}

// A free source, or else the one whose sound started longest ago.
static ALuint fuenteLibre()
{
    int elegida = 0;
    for (int i = 0; i < kFuentes; i++) {
        ALint estado = AL_STOPPED;
        alGetSourcei(fuentes[i], AL_SOURCE_STATE, &estado);
        if (estado != AL_PLAYING) {
            elegida = i;
            break;
        }
        if (inicioFuente[i] < inicioFuente[elegida])
            elegida = i;
    }
    inicioFuente[elegida] = ++reloj;
    alSourceStop(fuentes[elegida]);
    return fuentes[elegida];
}

static void sonar(int efecto, bool relativa, float x, float y, float z, float referencia)
{
    if (!abierto || mudo || retenido || efecto < 0 || efecto >= (int)buffers.size())
        return;
    const ALuint f = fuenteLibre();
    alSourcei(f, AL_BUFFER, (ALint)buffers[(size_t)efecto]);
    alSourcei(f, AL_SOURCE_RELATIVE, relativa ? AL_TRUE : AL_FALSE);
    alSourcef(f, AL_REFERENCE_DISTANCE, referencia);
    alSource3f(f, AL_POSITION, x, y, z);
    alSourcePlay(f);
    alGetError();
}

// --- public functions ---

bool zk_sound_take_mute(int* argc, char** argv)
{
    assert(argc != nullptr && argv != nullptr);
    bool encontrado = false;
    int j = 1;
    for (int i = 1; i < *argc; i++) {
        if (argv[i] != nullptr && strcmp(argv[i], "--mute") == 0)
            encontrado = true;
        else
            argv[j++] = argv[i];
    }
    if (*argc > 0) {
        *argc = j;
        argv[j] = nullptr;
    }
    return encontrado;
}

void zk_sound_open(const zk_effect_t* effects, int count, bool muted)
{
    assert(effects != nullptr && count > 0);
    // a second open starts over with the new effects
    zk_sound_close();
    for (int i = 0; i < count; i++)
        muestras.push_back(zk_sound_synth(effects[i]));
    mudo = muted;
    if (!cierreRegistrado) {
        cierreRegistrado = true;
        atexit(zk_sound_close);
    }
    // started muted: the device waits until the player asks for sound
    if (!mudo)
        abrirDispositivo();
}

void zk_sound_close()
{
    if (abierto) {
        alSourceStopv(kFuentes, fuentes);
        alDeleteSources(kFuentes, fuentes);
        alDeleteBuffers((ALsizei)buffers.size(), buffers.data());
        abierto = false;
    }
    liberarDispositivo();
    buffers.clear();
    // closed for good: a later unmute must not open the device again
    muestras.clear();
}

void zk_sound_play_at(int effect, float x, float y, float z)
{
    sonar(effect, false, x, y, z, kDistanciaReferencia);
}

void zk_sound_play_pan(int effect, float pan)
{
    // on a circle of radius 1 in front of the listener, at full level
    const float p = pan < -1.0f ? -1.0f : (pan > 1.0f ? 1.0f : pan);
    sonar(effect, true, p, 0.0f, -std::sqrt(1.0f - p * p), 1.0f);
}

void zk_sound_listener(const float eye[3], const float at[3], const float up[3])
{
    assert(eye != nullptr && at != nullptr && up != nullptr);
    for (int i = 0; i < 3; i++) {
        oyente[i] = eye[i];
        oyente[3 + i] = at[i];
        oyente[6 + i] = up[i];
    }
    if (abierto)
        aplicarOyente();
}

void zk_sound_set_muted(bool muted)
{
    mudo = muted;
    if (!mudo && !muestras.empty())
        abrirDispositivo();
    if (!abierto)
        return;
    if (mudo)
        alSourceStopv(kFuentes, fuentes);
    aplicarOyente();
}

void zk_sound_hold(bool held)
{
    retenido = held;
    if (retenido && abierto)
        alSourceStopv(kFuentes, fuentes);
}

bool zk_sound_muted()
{
    return mudo;
}

bool zk_sound_active()
{
    return abierto && !mudo && !retenido;
}
