// Playback through OpenAL: one buffer per effect, a small pool of sources
// (the oldest sound gives way when all are busy), the listener where the
// game's eye is. Nothing here ever waits for the sound to play.
#include "sound.h"
#include "idioma.h"

#include <AL/al.h>
#include <AL/alc.h>
#include <AL/alext.h>

#include <algorithm>
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
// The mix never goes past this share of full scale in either channel: what
// every sound still playing can yet reach is added up when one more starts,
// and the newcomer comes in only as loud as the room left allows.
static const float kTecho = 0.93f;
// Below this gain a newcomer would hardly be heard: the oldest sounds give
// way to it instead, as when every source is busy.
static const float kGananciaMinima = 0.5f;
// A sound's share of each channel at most, by where it stands across the
// view (0 ahead, 1 all to one side): OpenAL's stereo panning sends 0.60 of
// it to each channel from straight ahead, 0.92 and 0.21 from halfway to a
// side; these lines stay a little above that.
static const float kCentro = 0.65f;    // either channel, straight ahead
static const float kPendiente = 0.75f; // per unit toward a side, up for its own channel, down for the other
static const float kLejanoMinimo = 0.05f;
// The loudness still to come of an effect is kept per block of samples.
static const int kBloque = 256;

// --- file state ---

static std::vector<std::vector<int16_t>> muestras; // each effect, rendered
static std::vector<ALuint> buffers;                // their OpenAL buffers
static ALuint fuentes[kFuentes];
static unsigned long inicioFuente[kFuentes]; // when each source last started
// Per effect, per block: its loudest sample from that block to its end, as a
// share of full scale.
static std::vector<std::vector<float>> restante;
static int efectoFuente[kFuentes];     // the effect each source last played
static float nivelFuente[kFuentes][2]; // its most into the left and right channels, gain included
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
    zk_decir(stderr, zk_tr("Sin sonido: %s\n"), zk_tr(por_que));
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
        sinSonido(ZK_N("no hay dispositivo de audio (OpenAL no pudo abrir ninguno)"));
        return;
    }
    // OpenAL Soft's limiter, asked for by name (integer output has it
    // anyway): the room kept under kTecho already spares it any work
    const ALCint atributos[] = {ALC_OUTPUT_LIMITER_SOFT, ALC_TRUE, 0};
    contexto = alcCreateContext(dispositivo, atributos);
    if (contexto == nullptr || !alcMakeContextCurrent(contexto)) {
        sinSonido(ZK_N("OpenAL no pudo crear el contexto de audio"));
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
        sinSonido(ZK_N("OpenAL no pudo cargar los efectos"));
        liberarDispositivo();
        return;
    }
    alDistanceModel(AL_INVERSE_DISTANCE_CLAMPED);
    for (int i = 0; i < kFuentes; i++)
        inicioFuente[i] = 0;
    abierto = true;
    aplicarOyente();
}

static void medirRestante(const std::vector<int16_t>& m)
{
    const size_t bloques = (m.size() + kBloque - 1) / kBloque;
    std::vector<float> r(bloques + 1, 0.0f);
    for (size_t b = bloques; b-- > 0;) {
        int pico = 0;
        for (size_t i = b * kBloque; i < m.size() && i < (b + 1) * kBloque; i++)
            pico = std::max(pico, std::abs((int)m[i]));
        r[b] = std::max(r[b + 1], pico / 32767.0f);
    }
    restante.push_back(r);
}

static bool sonando(int i)
{
    ALint estado = AL_STOPPED;
    alGetSourcei(fuentes[i], AL_SOURCE_STATE, &estado);
    return estado == AL_PLAYING;
}

// What the sounds playing now can still add to each channel, all at their peaks.
static void ocupado(float canal[2])
{
    canal[0] = canal[1] = 0.0f;
    for (int i = 0; i < kFuentes; i++) {
        if (!sonando(i))
            continue;
        ALint muestra = 0;
        alGetSourcei(fuentes[i], AL_SAMPLE_OFFSET, &muestra);
        const std::vector<float>& r = restante[(size_t)efectoFuente[i]];
        const size_t b = std::min((size_t)std::max(muestra, 0) / kBloque, r.size() - 1);
        canal[0] += r[b] * nivelFuente[i][0];
        canal[1] += r[b] * nivelFuente[i][1];
    }
}

// How loud a newcomer may start: its peak, sent by `parte` into each channel,
// fits in the room under kTecho.
static float gananciaCabe(float pico, const float parte[2])
{
    float libre[2];
    ocupado(libre);
    float g = 1.0f;
    for (int c = 0; c < 2; c++) {
        const float lleva = pico * parte[c];
        if (lleva > 0.0f)
            g = std::min(g, (kTecho - libre[c]) / lleva);
    }
    return std::max(g, 0.0f);
}

// The playing source whose sound started longest ago, -1 if none plays.
static int masVieja(int salvo)
{
    int vieja = -1;
    for (int i = 0; i < kFuentes; i++)
        if (i != salvo && sonando(i) && (vieja < 0 || inicioFuente[i] < inicioFuente[vieja]))
            vieja = i;
    return vieja;
}

// A free source, or else the one whose sound started longest ago.
static int fuenteLibre()
{
    int elegida = 0;
    for (int i = 0; i < kFuentes; i++) {
        if (!sonando(i)) {
            elegida = i;
            break;
        }
        if (inicioFuente[i] < inicioFuente[elegida])
            elegida = i;
    }
    inicioFuente[elegida] = ++reloj;
    alSourceStop(fuentes[elegida]);
    return elegida;
}

// The newcomer's most into each channel at gain 1, from its level at the
// listener and where it stands across the view, -1 left to 1 right.
static void repartir(float nivel, float lado, float parte[2])
{
    const float cerca = std::min(1.0f, kCentro + kPendiente * std::fabs(lado));
    const float lejos = std::max(kLejanoMinimo, kCentro - kPendiente * std::fabs(lado));
    parte[0] = nivel * (lado <= 0.0f ? cerca : lejos);
    parte[1] = nivel * (lado >= 0.0f ? cerca : lejos);
}

// Level and side of a world sound at (x, y, z), heard from the listener.
static void repartirEnMundo(float x, float y, float z, float parte[2])
{
    const float d[3] = {x - oyente[0], y - oyente[1], z - oyente[2]};
    const float f[3] = {oyente[3] - oyente[0], oyente[4] - oyente[1], oyente[5] - oyente[2]};
    const float* u = oyente + 6;
    // the listener's right: the aim crossed with up
    const float r[3] = {f[1] * u[2] - f[2] * u[1], f[2] * u[0] - f[0] * u[2], f[0] * u[1] - f[1] * u[0]};
    const float distancia = std::sqrt(d[0] * d[0] + d[1] * d[1] + d[2] * d[2]);
    const float largoR = std::sqrt(r[0] * r[0] + r[1] * r[1] + r[2] * r[2]);
    const float cruce = d[0] * r[0] + d[1] * r[1] + d[2] * r[2];
    const float lado = distancia > 0.0f && largoR > 0.0f ? cruce / (distancia * largoR) : 0.0f;
    // inverse distance, clamped: full level up to the reference distance
    repartir(kDistanciaReferencia / std::max(distancia, kDistanciaReferencia), lado, parte);
}

static void sonar(int efecto, bool relativa, float x, float y, float z, float referencia, const float parte[2])
{
    if (!abierto || mudo || retenido || efecto < 0 || efecto >= (int)buffers.size())
        return;
    const int i = fuenteLibre();
    const float pico = restante[(size_t)efecto][0];
    float g = gananciaCabe(pico, parte);
    for (int vieja = masVieja(i); g < kGananciaMinima && vieja >= 0; vieja = masVieja(i)) {
        alSourceStop(fuentes[vieja]);
        g = gananciaCabe(pico, parte);
    }
    efectoFuente[i] = efecto;
    nivelFuente[i][0] = g * parte[0];
    nivelFuente[i][1] = g * parte[1];
    const ALuint f = fuentes[i];
    alSourcef(f, AL_GAIN, g);
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
    for (int i = 0; i < count; i++) {
        muestras.push_back(zk_sound_synth(effects[i]));
        medirRestante(muestras.back());
    }
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
    restante.clear();
}

void zk_sound_play_at(int effect, float x, float y, float z)
{
    float parte[2];
    repartirEnMundo(x, y, z, parte);
    sonar(effect, false, x, y, z, kDistanciaReferencia, parte);
}

void zk_sound_play_pan(int effect, float pan)
{
    // on a circle of radius 1 in front of the listener, at full level
    const float p = pan < -1.0f ? -1.0f : (pan > 1.0f ? 1.0f : pan);
    float parte[2];
    repartir(1.0f, p, parte);
    sonar(effect, true, p, 0.0f, -std::sqrt(1.0f - p * p), 1.0f, parte);
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
