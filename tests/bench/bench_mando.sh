#!/usr/bin/env bash
# What the pad's polling costs: Space Zarkons 3D left to play on its own on a
# private Xvfb, three times, measured from outside. A preloaded helper
# (tests/e2e/mando_precargado.c) sets the scene of each run:
#   sin-sdl   SDL's controllers refuse to start: no polling at all, as before pads
#   sin-mando SDL up, no pad: the slow look for one plugged in
#   quieto    one virtual pad, idle: a poll every frame
# Figures: the game's CPU seconds over the run, and as a share of one core.
#
# Usage: tests/bench/bench_mando.sh [build dir] [seconds per run]
# (build dir defaults to build-release, as ./run.sh makes it).
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/../.." && pwd)
BUILD=${1:-$ROOT/build-release}
case "$BUILD" in /*) ;; *) BUILD=$(pwd)/$BUILD ;; esac
SECS=${2:-30}
. "$ROOT/tests/bench/xvfb_bench.sh"
bench_preparar space-zarkons-3d pkg-config

# shellcheck disable=SC2046
cc -O2 -shared -fPIC -o "$TMP/mando.so" "$ROOT/tests/e2e/mando_precargado.c" $(pkg-config --cflags --libs sdl2) -ldl
echo "load before measuring: $(cut -d' ' -f1-3 /proc/loadavg)"
bench_xvfb
export ALSOFT_DRIVERS=null

ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }
HZ=$(getconf CLK_TCK)

for modo in sin-sdl sin-mando quieto; do
    if [ "$modo" = sin-mando ]; then
        bench_lanzar "$ROOT/space-zarkons-3d"
    else
        bench_lanzar "$ROOT/space-zarkons-3d" ZK_MANDO="$modo" LD_PRELOAD="$TMP/mando.so"
    fi
    bench_esperar_cuadros 0
    sleep 1.2 # the fly-in, 21 ticks of 50 ms from the first frame: not what is measured
    t0=$(ticks "$GAME_PID")
    sleep "$SECS"
    t1=$(ticks "$GAME_PID")
    kill "$GAME_PID" 2>/dev/null || true
    wait "$GAME_PID" 2>/dev/null || true
    GAME_PID=
    awk -v m="$modo" -v d=$((t1 - t0)) -v hz="$HZ" -v s="$SECS" \
        'BEGIN { printf "%-10s %6.2f CPU s in %d s of play (%5.1f %% of a core)\n", m, d / hz, s, 100 * d / hz / s }'
done
