// The records' lock. The table itself is guarded by flock on the lock file,
// as it always was. A blocked flock alone is no queue: every waiter wakes
// when the lock is let go and the quickest wins, so a game that adds again at
// once can take it back before those that waited. So the waiters first take
// a number from a counter kept in the lock file, hold a one-byte lock named
// by it, and wait for the byte of the number before theirs: each is served
// after the one that came before it, and a writer that dies lets go of its
// byte with its file, so nobody waits for the dead.
#include "cerrojo.h"

#include <cassert>
#include <cerrno>
#include <cstdint>
#include <ctime>
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>  // flock
#include <unistd.h>

// A blocked wait is woken this often after its deadline, in case the first
// wake-up came just before the wait began.
static const long kRepeticionNs = 50L * 1000 * 1000;
static const off_t kDispensador = 0; // the byte locked while taking a number
static const off_t kCola = 1;        // number n holds the byte kCola + n

static void despertar(int) {}

static bool pasado(const struct timespec& fin)
{
    struct timespec ahora;
    clock_gettime(CLOCK_MONOTONIC, &ahora);
    return ahora.tv_sec > fin.tv_sec || (ahora.tv_sec == fin.tv_sec && ahora.tv_nsec >= fin.tv_nsec);
}

// Repeats a blocking call that the timer's signal cut short, until the deadline.
template <class F>
static bool hasta(const struct timespec& fin, F llamada)
{
    for (;;) {
        if (llamada() == 0)
            return true;
        if (errno != EINTR || pasado(fin))
            return false;
    }
}

static int cerrojoByte(int fd, off_t byte, short tipo, int orden)
{
    struct flock l = {};
    l.l_type = tipo;
    l.l_whence = SEEK_SET;
    l.l_start = byte;
    l.l_len = 1;
    return fcntl(fd, orden, &l);
}

// Takes a number and waits until the one before it has been served (or has
// given up, or died). Without a number to wait behind (a lock file that cannot
// hold one) the flock that follows decides alone.
static bool hacerCola(int fd, const struct timespec& fin)
{
    if (!hasta(fin, [fd] { return cerrojoByte(fd, kDispensador, F_WRLCK, F_OFD_SETLKW); }))
        return errno == EINVAL || errno == ENOLCK; // no byte locks here: flock alone
    uint64_t numero = 0;
    if (pread(fd, &numero, sizeof numero, 0) != (ssize_t)sizeof numero || numero >= (1ULL << 60))
        numero = 0;
    const uint64_t siguiente = numero + 1;
    const bool contado = pwrite(fd, &siguiente, sizeof siguiente, 0) == (ssize_t)sizeof siguiente;
    const bool mio = contado && cerrojoByte(fd, kCola + (off_t)numero, F_WRLCK, F_OFD_SETLK) == 0;
    cerrojoByte(fd, kDispensador, F_UNLCK, F_OFD_SETLK);
    if (!mio || numero == 0)
        return true;
    const off_t anterior = kCola + (off_t)numero - 1;
    if (!hasta(fin, [fd, anterior] { return cerrojoByte(fd, anterior, F_WRLCK, F_OFD_SETLKW); }))
        return false;
    cerrojoByte(fd, anterior, F_UNLCK, F_OFD_SETLK);
    return true;
}

bool esperarCerrojo(int fd, int segundos)
{
    assert(fd >= 0 && segundos > 0);
    // the waits end on a signal from a timer of this thread alone (the sound
    // has threads of its own), without SA_RESTART
    struct sigaction accion = {}, antes = {};
    accion.sa_handler = despertar;
    sigemptyset(&accion.sa_mask);
    sigaction(SIGALRM, &accion, &antes);
    sigset_t solo, mascara;
    sigemptyset(&solo);
    sigaddset(&solo, SIGALRM);
    pthread_sigmask(SIG_UNBLOCK, &solo, &mascara);

    struct sigevent ev = {};
    ev.sigev_notify = SIGEV_THREAD_ID;
    ev.sigev_signo = SIGALRM;
    ev._sigev_un._tid = gettid();
    timer_t reloj;
    bool ok = false;
    if (timer_create(CLOCK_MONOTONIC, &ev, &reloj) == 0) {
        struct itimerspec plazo = {};
        plazo.it_value.tv_sec = segundos;
        plazo.it_interval.tv_nsec = kRepeticionNs;
        struct timespec fin;
        clock_gettime(CLOCK_MONOTONIC, &fin);
        fin.tv_sec += segundos;
        timer_settime(reloj, 0, &plazo, nullptr);
        ok = hacerCola(fd, fin) && hasta(fin, [fd] { return flock(fd, LOCK_EX); });
        timer_delete(reloj);
    }
    // a signal still pending was delivered on the way out of timer_delete
    pthread_sigmask(SIG_SETMASK, &mascara, nullptr);
    sigaction(SIGALRM, &antes, nullptr);
    return ok;
}
