#!/usr/bin/env bash
# Space Zarkons 3D in play, measured from outside on a private Xvfb at 640 x 640
# with Mesa's software renderer. A preloaded probe (probe_swaps.c) timestamps
# the main window's buffer swaps and every GLUT timer run; the game's code is
# not changed. Two phases of play after the fly-in:
#   formation   the full formation sweeping and firing, no input
#   explosions  the player firing and moving, enemy ships bursting
# and, with a third argument, a long game that samples the resident memory.
# Figures: game ticks per second against the nominal 1000 / 17, frames per
# second, CPU seconds per second of play (game and X server), the time to the
# first frame, the peak resident memory, and its growth over the long game.
# Then, on the same display in the same run, the floor program
# (floor_quad.c: one full-window lit trilinear-textured quad at 58.8 frames a
# second, and clearing and swapping only), and the game's CPU as a multiple of
# the quad's, which holds on a loaded machine where the bare figures do not.
#
# Usage: tests/bench/bench_space_zarkons.sh [build dir] [seconds per phase] [long-game seconds]
# (build dir defaults to build-release, as ./run.sh makes it). The game runs in
# space-zarkons-3d/, or in $ZK_BENCH_DIR when set (a folder holding another data/).
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/../.." && pwd)
BUILD=${1:-$ROOT/build-release}
case "$BUILD" in /*) ;; *) BUILD=$(pwd)/$BUILD ;; esac
SECS=${2:-10}
LONG=${3:-0}
. "$ROOT/tests/bench/xvfb_bench.sh"
bench_preparar space-zarkons-3d

cc -O2 -shared -fPIC -o "$TMP/probe.so" "$ROOT/tests/bench/probe_swaps.c" -ldl
echo "load before measuring: $(cut -d' ' -f1-3 /proc/loadavg)"
bench_xvfb

# CPU ticks (user + system) of a process
ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }
HZ=$(getconf CLK_TCK)

# mark: asks the probe for a mark and waits until it is written
MARKS=0
mark() {
    kill -USR1 "$GAME_PID" || { echo "error: the game has ended" >&2; exit 1; }
    MARKS=$((MARKS + 1))
    local i
    for i in $(seq 1 200); do
        [ "$(grep -c '^mark' "$TMP/probe.txt" || true)" -ge "$MARKS" ] && return 0
        sleep 0.01
    done
    echo "error: the probe wrote no mark" >&2
    exit 1
}

START_NS=$(date +%s%N)
(cd "${ZK_BENCH_DIR:-$ROOT/space-zarkons-3d}" && ZK_PROBE_OUT="$TMP/probe.txt" LD_PRELOAD="$TMP/probe.so" exec "$GAME" >/dev/null) &
GAME_PID=$!
WIN=
for i in $(seq 1 300); do
    WIN=$(xdotool search --onlyvisible --pid "$GAME_PID" --name '^Space Zarkons 3D$' 2>/dev/null | head -1 || true)
    [ -n "$WIN" ] && break
    sleep 0.05
done
[ -n "$WIN" ] || { echo "error: no game window" >&2; exit 1; }
xdotool windowfocus --sync "$WIN"
xdotool mousemove --window "$WIN" 320 600
sleep 2.5 # the fly-in, and the first volley

X0=$(ticks "$XVFB_PID")
mark
sleep "$SECS"
X1=$(ticks "$XVFB_PID")
mark

# fire on every reload while sweeping across the formation
END=$(( $(date +%s) + SECS ))
side=Left
while [ "$(date +%s)" -lt "$END" ]; do
    for i in 1 2 3 4 5; do
        xdotool key space "$side" "$side"
        sleep 0.2
    done
    if [ $side = Left ]; then side=Right; else side=Left; fi
done
X2=$(ticks "$XVFB_PID")
mark
HWM=$(awk '/VmHWM/ {print $2}' "/proc/$GAME_PID/status")

if [ "$LONG" -gt 0 ]; then
    echo "long game: $LONG s, resident memory every 30 s (kB):" >&2
    : >"$TMP/rss.txt"
    END=$(( $(date +%s) + LONG ))
    next=0
    while [ "$(date +%s)" -lt "$END" ] && kill -0 "$GAME_PID" 2>/dev/null; do
        now=$(date +%s)
        if [ "$now" -ge "$next" ]; then
            awk '/VmRSS/ {print $2}' "/proc/$GAME_PID/status" | tee -a "$TMP/rss.txt" >&2
            next=$((now + 30))
        fi
        xdotool key space
        sleep 1
    done
    mark
    HWM=$(awk '/VmHWM/ {print $2}' "/proc/$GAME_PID/status")
fi

if kill -0 "$GAME_PID" 2>/dev/null; then
    xdotool key --window "$WIN" Escape 2>/dev/null || kill "$GAME_PID" 2>/dev/null || true
    for i in $(seq 1 100); do kill -0 "$GAME_PID" 2>/dev/null || break; sleep 0.05; done
else
    echo "note: the game ended before the last phase was over (formation destroyed?)" >&2
fi
GAME_PID=

FLOOR_QUAD=$("$TMP/floor" 640 640 "$SECS" quad | awk '{print $3}')
FLOOR_CLEAR=$("$TMP/floor" 640 640 "$SECS" clear | awk '{print $3}')

awk -v start="$START_NS" -v fq="$FLOOR_QUAD" -v fc="$FLOOR_CLEAR" -v x0="$X0" -v x1="$X1" -v x2="$X2" -v hz="$HZ" -v hwm="$HWM" \
    -v long="$LONG" -v rss="$TMP/rss.txt" '
function count(line, name,   n, i, kv) {
    n = split(line, f, " ")
    for (i = 7; i <= n; i++) { split(f[i], kv, "="); if (index(kv[1], name) > 0) return kv[2] }
    return 0
}
/^first-swap/ { first = $2 }
/^window/ { ventana = $2 }
/^main-loop/ { bucle = $2 }
/^mark/ { m[$2] = $0; t[$2] = $3; cpu[$2] = $4; sw[$2] = $5 }
END {
    nominal = 1000 / 17
    printf "first frame after start: %.3f s (window %.3f s, set-up done %.3f s)\n", (first - start) / 1e9,
           (ventana - start) / 1e9, (bucle - start) / 1e9
    split("formation explosions", names, " ")
    for (p = 0; p < 2; p++) {
        dt = (t[p + 1] - t[p]) / 1e9
        tk = count(m[p + 1], "actualizarJuego") - count(m[p], "actualizarJuego")
        xs = (p == 0 ? x1 - x0 : x2 - x1) / hz
        c = (cpu[p + 1] - cpu[p]) / 1e9 / dt
        printf "%-10s %5.1f s: ticks %.1f/s (%.1f%% of nominal %.1f), frames %.1f/s, CPU %.3f s/s game + %.3f s/s X server, %.2f x the floor quad\n",
               names[p + 1], dt, tk / dt, 100 * tk / dt / nominal, nominal, (sw[p + 1] - sw[p]) / dt,
               c, xs / dt, c / fq
    }
    printf "floor, same display: textured quad %.3f s/s, clear and swap only %.3f s/s\n", fq, fc
    printf "peak resident memory: %.1f MB\n", hwm / 1024
    if (long > 0) {
        n = 0
        while ((getline v < rss) > 0) { r[n++] = v }
        if (n > 1)
            printf "long game: resident %.1f MB at the first sample, %.1f MB at the last (%+.1f MB over %d samples)\n",
                   r[0] / 1024, r[n - 1] / 1024, (r[n - 1] - r[0]) / 1024, n
    }
}' "$TMP/probe.txt"
