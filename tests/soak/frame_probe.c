// Preloaded into a game by soak.py and by the end-to-end harness: counts the
// buffer swaps of every window and keeps, in the file named by ZK_FRAME_PROBE,
// the count, the time of the last one (CLOCK_MONOTONIC, ns), the heap bytes
// the game holds as the sanitizer's allocator counts them (0 in a build
// without it) and the GL display lists and textures the game has made and not
// deleted. The soak reads it to tell a game that answers from one that hangs
// and to measure growth without the allocator's quarantine; the tests read it
// to wait for a frame drawn after an input.
//
// The soak may also ask for the allocator's heap profile (live bytes by the
// place that allocated them) by raising PROFILE_ASKED; the next frame prints
// it on stderr between two marker lines and sets PROFILE_DONE to match. That
// is how the soak tells the game's own heap from the GL driver's, whose
// caches and buffers swing by megabytes with what was drawn last.
#define _GNU_SOURCE
#include <dlfcn.h>
#include <fcntl.h>
#include <stddef.h>
#include <stdio.h>
#include <stdint.h>
#include <stdlib.h>
#include <sys/mman.h>
#include <time.h>
#include <unistd.h>

enum { SWAPS, LAST_SWAP, LIVE_BYTES, PROFILE_ASKED, PROFILE_DONE, GL_OBJECTS, FIELDS };

static volatile uint64_t* marcador;
static size_t (*vivos)(void); // the allocator's live bytes, when it says them
static void (*perfil)(size_t, size_t); // and its heap profile

__attribute__((constructor)) static void abrir(void)
{
    const char* path = getenv("ZK_FRAME_PROBE");
    if (path == NULL)
        return;
    int fd = open(path, O_RDWR | O_CREAT, 0600);
    if (fd < 0)
        return;
    if (ftruncate(fd, FIELDS * sizeof(uint64_t)) == 0) {
        void* p = mmap(NULL, FIELDS * sizeof(uint64_t), PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
        if (p != MAP_FAILED)
            marcador = (volatile uint64_t*)p;
    }
    close(fd);
    vivos = (size_t(*)(void))dlsym(RTLD_DEFAULT, "__sanitizer_get_current_allocated_bytes");
    perfil = (void (*)(size_t, size_t))dlsym(RTLD_DEFAULT, "__sanitizer_print_memory_profile");
}

static void imprimirPerfil(void)
{
    uint64_t n = __atomic_load_n(&marcador[PROFILE_ASKED], __ATOMIC_ACQUIRE);
    if (n == marcador[PROFILE_DONE])
        return;
    if (perfil != NULL) {
        // every allocation site, however small: the soak sums them
        dprintf(2, "zk-probe: heap profile %llu\n", (unsigned long long)n);
        perfil(100, (size_t)1 << 30);
        dprintf(2, "zk-probe: end of heap profile %llu\n", (unsigned long long)n);
    }
    __atomic_store_n(&marcador[PROFILE_DONE], n, __ATOMIC_RELEASE);
}

// GL objects live in the driver's heap, which the soak does not judge: a game
// that made lists or textures as it played would leak there unseen.
static void contarObjetos(long n)
{
    if (marcador != NULL)
        __atomic_add_fetch(&marcador[GL_OBJECTS], (uint64_t)n, __ATOMIC_RELAXED);
}

unsigned int glGenLists(int range)
{
    static unsigned int (*real)(int);
    if (real == NULL)
        real = (unsigned int (*)(int))dlsym(RTLD_NEXT, "glGenLists");
    unsigned int first = real != NULL ? real(range) : 0;
    if (first != 0)
        contarObjetos(range);
    return first;
}

void glDeleteLists(unsigned int list, int range)
{
    static void (*real)(unsigned int, int);
    if (real == NULL)
        real = (void (*)(unsigned int, int))dlsym(RTLD_NEXT, "glDeleteLists");
    if (real != NULL)
        real(list, range);
    if (list != 0 && range > 0)
        contarObjetos(-(long)range);
}

void glGenTextures(int n, unsigned int* names)
{
    static void (*real)(int, unsigned int*);
    if (real == NULL)
        real = (void (*)(int, unsigned int*))dlsym(RTLD_NEXT, "glGenTextures");
    if (real != NULL)
        real(n, names);
    if (n > 0)
        contarObjetos(n);
}

void glDeleteTextures(int n, const unsigned int* names)
{
    static void (*real)(int, const unsigned int*);
    if (real == NULL)
        real = (void (*)(int, const unsigned int*))dlsym(RTLD_NEXT, "glDeleteTextures");
    if (real != NULL)
        real(n, names);
    if (n > 0)
        contarObjetos(-(long)n);
}

void glutSwapBuffers(void)
{
    static void (*real)(void);
    if (real == NULL)
        real = (void (*)(void))dlsym(RTLD_NEXT, "glutSwapBuffers");
    if (real != NULL)
        real();
    if (marcador != NULL) {
        struct timespec t;
        clock_gettime(CLOCK_MONOTONIC, &t);
        // the figure first: a reader that sees the new count sees it too
        if (vivos != NULL)
            marcador[LIVE_BYTES] = vivos();
        marcador[LAST_SWAP] = (uint64_t)t.tv_sec * 1000000000u + (uint64_t)t.tv_nsec;
        __atomic_store_n(&marcador[SWAPS], marcador[SWAPS] + 1, __ATOMIC_RELEASE);
        imprimirPerfil();
    }
}
