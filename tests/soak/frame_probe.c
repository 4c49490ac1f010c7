// Preloaded into a game by soak.py: counts the buffer swaps of every window
// and keeps the count and the time of the last one (CLOCK_MONOTONIC, ns) in
// the 16 bytes of the file named by ZK_FRAME_PROBE, which the soak reads to
// tell a game that answers from one that hangs.
#define _GNU_SOURCE
#include <dlfcn.h>
#include <fcntl.h>
#include <stdint.h>
#include <stdlib.h>
#include <sys/mman.h>
#include <time.h>
#include <unistd.h>

static volatile uint64_t* marcador; // [0] swaps so far, [1] time of the last

__attribute__((constructor)) static void abrir(void)
{
    const char* path = getenv("ZK_FRAME_PROBE");
    if (path == NULL)
        return;
    int fd = open(path, O_RDWR | O_CREAT, 0600);
    if (fd < 0)
        return;
    if (ftruncate(fd, 16) == 0) {
        void* p = mmap(NULL, 16, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
        if (p != MAP_FAILED)
            marcador = (volatile uint64_t*)p;
    }
    close(fd);
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
        marcador[1] = (uint64_t)t.tv_sec * 1000000000u + (uint64_t)t.tv_nsec;
        marcador[0] = marcador[0] + 1;
    }
}
