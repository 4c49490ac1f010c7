#!/usr/bin/env bash
# Frames per second and CPU seconds per second of Tie Zarkons, in play and
# on the help screen (text only, so drawing costs little and the pacing shows),
# on a private Xvfb with Mesa's software renderer, three ways:
#   xvfb     as it is: Xvfb offers no swap control, so the game paces itself
#   nosync   a display that accepts the swap-interval request but never waits:
#            the game ticks 1 ms after each frame, as fast as it can draw
#   vsync    a display whose swaps wait for a 60 Hz refresh once asked to
# The last two are made with a small preloaded library that adds
# GLX_MESA_swap_control to what the display offers and counts the swaps.
#
# Last, on the same display, the floor program (floor_quad.c) at 640 x 480:
# one full-window lit trilinear-textured quad at 58.8 frames a second, and
# clearing and swapping only; each run's CPU is also given as a multiple of
# the quad's, which holds on a loaded machine where the bare figures do not.
#
# Usage: tests/bench/bench_tie_zarkons.sh [build dir] [seconds per run]
# (build dir defaults to build-release, as ./run.sh makes it)
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/../.." && pwd)
BUILD=${1:-$ROOT/build-release}
SECS=${2:-8}
. "$ROOT/tests/bench/xvfb_bench.sh"
bench_preparar tie-zarkons

cat >"$TMP/swaps.c" <<'EOF'
// Preloaded into the game: counts buffer swaps, writes a mark (swaps, wall
// and CPU time) at the first swap after each SIGUSR1, and in the nosync and
// vsync modes offers GLX_MESA_swap_control.
#define _GNU_SOURCE
#include <dlfcn.h>
#include <fcntl.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>
#include <unistd.h>
#include <GL/glx.h>

static unsigned long swaps;
static volatile sig_atomic_t markPending;
static unsigned interval;

static long long ns(clockid_t c)
{
    struct timespec t;
    clock_gettime(c, &t);
    return (long long)t.tv_sec * 1000000000LL + t.tv_nsec;
}

static void onSignal(int s) { (void)s; markPending = 1; }

__attribute__((constructor)) static void setup(void) { signal(SIGUSR1, onSignal); }

static const char* mode(void)
{
    const char* m = getenv("TZB_MODE");
    return m ? m : "xvfb";
}

static int offers(void) { return strcmp(mode(), "xvfb") != 0; }

static int swapIntervalMESA(unsigned i)
{
    interval = i;
    return 0;
}

const char* glXQueryExtensionsString(Display* d, int screen)
{
    static char joined[8192];
    const char* (*real)(Display*, int) = dlsym(RTLD_NEXT, "glXQueryExtensionsString");
    const char* s = real(d, screen);
    if (!offers())
        return s;
    snprintf(joined, sizeof joined, "%s GLX_MESA_swap_control ", s ? s : "");
    return joined;
}

typedef void (*Proc)(void);

static Proc lookUp(const char* fn, const GLubyte* name)
{
    if (offers() && strcmp((const char*)name, "glXSwapIntervalMESA") == 0)
        return (Proc)swapIntervalMESA;
    Proc (*real)(const GLubyte*) = dlsym(RTLD_NEXT, fn);
    return real(name);
}

Proc glXGetProcAddress(const GLubyte* name) { return lookUp("glXGetProcAddress", name); }
Proc glXGetProcAddressARB(const GLubyte* name) { return lookUp("glXGetProcAddressARB", name); }

void glXSwapBuffers(Display* d, GLXDrawable w)
{
    static void (*real)(Display*, GLXDrawable);
    if (!real)
        real = dlsym(RTLD_NEXT, "glXSwapBuffers");
    if (strcmp(mode(), "vsync") == 0 && interval > 0) {
        // wait for the next refresh of a 60 Hz display
        const long long period = 1000000000LL / 60;
        const long long now = ns(CLOCK_MONOTONIC);
        const long long next = (now / period + interval) * period;
        struct timespec t = {next / 1000000000LL, next % 1000000000LL};
        clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &t, NULL);
    }
    real(d, w);
    swaps++;
    if (markPending) {
        markPending = 0;
        const char* path = getenv("TZB_MARKS");
        if (path) {
            char line[128];
            int n = snprintf(line, sizeof line, "%lu %lld %lld %u\n", swaps, ns(CLOCK_MONOTONIC),
                             ns(CLOCK_PROCESS_CPUTIME_ID), interval);
            int fd = open(path, O_WRONLY | O_CREAT | O_APPEND, 0644);
            if (fd >= 0) {
                if (write(fd, line, (size_t)n) < 0) { /* nothing to do */ }
                close(fd);
            }
        }
    }
}
EOF
cc -O2 -shared -fPIC -o "$TMP/swaps.so" "$TMP/swaps.c" -ldl

bench_xvfb
TICK=$(getconf CLK_TCK)
xvfbCpu() { awk -v t="$TICK" '{ printf "%.3f", ($14 + $15) / t }' "/proc/$XVFB_PID/stat"; }

# run MODE SCREEN: one game, skipped to play (and to help), measured for SECS seconds
run() {
    local mode=$1 screen=$2 marks=$TMP/marks.$1.$2 win x0 x1
    LD_PRELOAD=$TMP/swaps.so TZB_MODE=$mode TZB_MARKS=$marks "$GAME" >/dev/null 2>&1 &
    GAME_PID=$!
    win=$(timeout 30 xdotool search --sync --onlyvisible --pid "$GAME_PID" --name '^Tie Zarkons$' | head -1)
    xdotool windowfocus --sync "$win"
    xdotool key space
    sleep 0.2
    xdotool key space
    sleep 1.5 # into play, past the first frames
    if [ "$screen" = help ]; then
        xdotool key h
        sleep 0.5
    fi
    x0=$(xvfbCpu)
    kill -USR1 "$GAME_PID"
    sleep "$SECS"
    kill -USR1 "$GAME_PID"
    x1=$(xvfbCpu)
    sleep 0.3
    xdotool key Escape
    wait "$GAME_PID" || true
    GAME_PID=
    awk -v mode="$mode $screen" -v xs="$x1" -v x0="$x0" -v fq="$FLOOR_QUAD" '
        NR == 1 { f0 = $1; w0 = $2; c0 = $3 }
        NR == 2 { f1 = $1; w1 = $2; c1 = $3; iv = $4 }
        END {
            if (NR < 2) { printf "%-13s no marks: the game did not draw\n", mode; exit }
            wall = (w1 - w0) / 1e9
            printf "%-13s %8.1f fps   game %5.2f CPU s/s (%.2f x floor)   Xvfb %5.2f CPU s/s   swap interval %d   (%d frames in %.1f s)\n",
                   mode, (f1 - f0) / wall, (c1 - c0) / 1e9 / wall, (c1 - c0) / 1e9 / wall / fq, (xs - x0) / wall,
                   iv, f1 - f0, wall
        }' "$marks"
}

echo "Tie Zarkons on Xvfb ($DISPLAY), $SECS s a run, $(basename "$BUILD"), load $(cut -d' ' -f1-3 /proc/loadavg)"
FLOOR_QUAD=$("$TMP/floor" 640 480 "$SECS" quad | awk '{print $3}')
FLOOR_CLEAR=$("$TMP/floor" 640 480 "$SECS" clear | awk '{print $3}')
echo "floor, same display: textured quad $FLOOR_QUAD CPU s/s, clear and swap only $FLOOR_CLEAR CPU s/s"
for screen in play help; do
    for mode in xvfb nosync vsync; do
        run "$mode" "$screen"
    done
done
