// Preloaded into Space Zarkons 3D by bench_space_zarkons.sh: timestamps the
// buffer swaps of the main window and every run of a GLUT timer callback,
// without touching the game's code.
//
// Writes to the file named by ZK_PROBE_OUT:
//   window <realtime ns>              when the main window has been created
//   main-loop <realtime ns>           when the set-up is over and GLUT takes over
//   first-swap <realtime ns>          at the main window's first swap
//   mark <n> <monotonic ns> <cpu ns> <main swaps> <max rss kB> then
//        one "<callback name>=<runs>" per timer callback seen so far
// A mark is written at the first swap or timer run after each SIGUSR1, and
// once more when the program ends.
#define _GNU_SOURCE
#include <dlfcn.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/resource.h>
#include <time.h>

typedef void (*Callback)(int);

// A pending timer: the game's callback and value, in a slot whose index is
// the value handed to GLUT.
typedef struct {
    Callback cb;
    int value;
    int used;
} Slot;

typedef struct {
    Callback cb;
    unsigned long runs;
    char name[64];
} Counter;

static Slot* slots;
static int numSlots;
static Counter counters[64];
static int numCounters;
static unsigned long mainSwaps;
static int mainWindow;
static int firstSwapDone;
static int marks;
static volatile sig_atomic_t markPending;
static FILE* out;

static long long ns(clockid_t c)
{
    struct timespec t;
    clock_gettime(c, &t);
    return (long long)t.tv_sec * 1000000000LL + t.tv_nsec;
}

static void* real(const char* name)
{
    void* f = dlsym(RTLD_NEXT, name);
    if (!f) {
        fprintf(stderr, "probe: %s not found\n", name);
        abort();
    }
    return f;
}

static void onSignal(int s)
{
    (void)s;
    markPending = 1;
}

static void writeMark(void)
{
    if (!out)
        return;
    struct rusage ru;
    getrusage(RUSAGE_SELF, &ru);
    fprintf(out, "mark %d %lld %lld %lu %ld", marks++, ns(CLOCK_MONOTONIC), ns(CLOCK_PROCESS_CPUTIME_ID),
            mainSwaps, ru.ru_maxrss);
    for (int i = 0; i < numCounters; i++)
        fprintf(out, " %s=%lu", counters[i].name, counters[i].runs);
    fprintf(out, "\n");
    fflush(out);
}

static void checkMark(void)
{
    if (markPending) {
        markPending = 0;
        writeMark();
    }
}

__attribute__((constructor)) static void start(void)
{
    const char* path = getenv("ZK_PROBE_OUT");
    if (path)
        out = fopen(path, "w");
    // a program the game starts (the sanitizers' symbolizer at exit) inherits
    // the preload: it must neither empty the file nor add its own marks
    unsetenv("ZK_PROBE_OUT");
    signal(SIGUSR1, onSignal);
}

__attribute__((destructor)) static void finish(void)
{
    writeMark();
    if (out)
        fclose(out);
}

static Counter* counterFor(Callback cb)
{
    for (int i = 0; i < numCounters; i++)
        if (counters[i].cb == cb)
            return &counters[i];
    if (numCounters == (int)(sizeof counters / sizeof counters[0]))
        return NULL;
    Counter* c = &counters[numCounters++];
    c->cb = cb;
    c->runs = 0;
    Dl_info info;
    if (dladdr((void*)cb, &info) && info.dli_sname)
        snprintf(c->name, sizeof c->name, "%s", info.dli_sname);
    else
        snprintf(c->name, sizeof c->name, "%p", (void*)cb);
    return c;
}

static void trampoline(int slot)
{
    Callback cb = slots[slot].cb;
    int value = slots[slot].value;
    slots[slot].used = 0;
    Counter* c = counterFor(cb);
    if (c)
        c->runs++;
    checkMark();
    cb(value);
}

void glutTimerFunc(unsigned int ms, Callback cb, int value)
{
    static void (*realTimer)(unsigned int, Callback, int);
    if (!realTimer)
        realTimer = (void (*)(unsigned int, Callback, int))real("glutTimerFunc");
    int slot = 0;
    while (slot < numSlots && slots[slot].used)
        slot++;
    if (slot == numSlots) {
        int n = numSlots ? numSlots * 2 : 64;
        Slot* s = (Slot*)realloc(slots, (size_t)n * sizeof *s);
        if (!s)
            abort();
        memset(s + numSlots, 0, (size_t)(n - numSlots) * sizeof *s);
        slots = s;
        numSlots = n;
    }
    slots[slot].cb = cb;
    slots[slot].value = value;
    slots[slot].used = 1;
    realTimer(ms, trampoline, slot);
}

int glutCreateWindow(const char* title)
{
    static int (*realCreate)(const char*);
    if (!realCreate)
        realCreate = (int (*)(const char*))real("glutCreateWindow");
    int id = realCreate(title);
    if (!mainWindow) {
        mainWindow = id;
        if (out) {
            fprintf(out, "window %lld\n", ns(CLOCK_REALTIME));
            fflush(out);
        }
    }
    return id;
}

void glutMainLoop(void)
{
    void (*realLoop)(void) = (void (*)(void))real("glutMainLoop");
    if (out) {
        fprintf(out, "main-loop %lld\n", ns(CLOCK_REALTIME));
        fflush(out);
    }
    realLoop();
}

void glutSwapBuffers(void)
{
    static void (*realSwap)(void);
    static int (*realGetWindow)(void);
    if (!realSwap) {
        realSwap = (void (*)(void))real("glutSwapBuffers");
        realGetWindow = (int (*)(void))real("glutGetWindow");
    }
    realSwap();
    if (realGetWindow() == mainWindow) {
        mainSwaps++;
        if (!firstSwapDone && out) {
            firstSwapDone = 1;
            fprintf(out, "first-swap %lld\n", ns(CLOCK_REALTIME));
            fflush(out);
        }
    }
    checkMark();
}
