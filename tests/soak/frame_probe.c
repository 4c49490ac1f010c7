// Preloaded into a game by soak.py and by the end-to-end harness: counts the
// buffer swaps of every window and keeps, in the 24 bytes of the file named by
// ZK_FRAME_PROBE, the count, the time of the last one (CLOCK_MONOTONIC, ns)
// and the heap bytes the game holds as the sanitizer's allocator counts them
// (0 in a build without it). The soak reads it to tell a game that answers
// from one that hangs, and to measure growth without the allocator's
// quarantine; the tests read it to wait for a frame drawn after an input.
#define _GNU_SOURCE
#include <dlfcn.h>
#include <fcntl.h>
#include <stddef.h>
#include <stdint.h>
#include <stdlib.h>
#include <sys/mman.h>
#include <time.h>
#include <unistd.h>

enum { SWAPS, LAST_SWAP, LIVE_BYTES, FIELDS };

static volatile uint64_t* marcador;
static size_t (*vivos)(void); // the allocator's live bytes, when it says them

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
    }
}
