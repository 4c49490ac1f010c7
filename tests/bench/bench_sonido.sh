#!/usr/bin/env bash
# What sound costs: CPU seconds per second of play of each game with sound
# (OpenAL mixing for its null output, which mixes exactly as for a card) and
# with --mute (no device opened), the two runs alternated and repeated so the
# shared machine's load falls on both alike; the difference is what OpenAL's
# mixer thread costs. Also the time from start to the window, both ways.
#
# Usage: tests/bench/bench_sonido.sh [build dir] [seconds per run] [repeats]
# (build dir defaults to build-release, as ./run.sh makes it)
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/../.." && pwd)
BUILD=${1:-$ROOT/build-release}
SECS=${2:-10}
REPS=${3:-3}
for g in space-zarkons-3d tie-zarkons; do
    if [ ! -x "$BUILD/bin/$g" ]; then
        echo "error: $BUILD/bin/$g is not built" >&2
        exit 1
    fi
done
# a relative build folder is taken from where the script is run
BUILD=$(cd "$BUILD" && pwd)
for tool in xdotool Xvfb xdpyinfo; do
    command -v "$tool" >/dev/null || { echo "error: $tool is missing" >&2; exit 1; }
done
. "$ROOT/scripts/common.sh"

GAME_PID=
cleanup() {
    if [ -n "$GAME_PID" ]; then kill "$GAME_PID" 2>/dev/null || true; fi
    stop_xvfb
}
trap cleanup EXIT
start_xvfb
export LIBGL_ALWAYS_SOFTWARE=1 ALSOFT_DRIVERS=null
TICK=$(getconf CLK_TCK)

# cpu PID: user + system clock ticks of the process, all its threads
cpu() {
    awk '{ sub(/.*\) /, ""); print $12 + $13 }' "/proc/$1/stat"
}

# run GAME FIRE_KEY [--mute]: sets START_MS and CPU_PER_S for one run
run() {
    local game=$1 key=$2
    shift 2
    local cwd=$ROOT/space-zarkons-3d
    [ "$game" = tie-zarkons ] && cwd=/tmp
    local t0 t1 w= i
    t0=$(date +%s%N)
    (cd "$cwd" && exec "$BUILD/bin/$game" "$@" >/dev/null 2>&1) &
    GAME_PID=$!
    for i in $(seq 1 1500); do
        w=$(xdotool search --onlyvisible --pid "$GAME_PID" --name . 2>/dev/null | head -1) || true
        [ -n "$w" ] && break
        sleep 0.02
    done
    t1=$(date +%s%N)
    if [ -z "$w" ]; then
        echo "error: $game showed no window" >&2
        exit 1
    fi
    xdotool windowfocus "$w" 2>/dev/null || true
    if [ "$game" = tie-zarkons ]; then
        sleep 0.5; xdotool key x; sleep 0.2; xdotool key x
    fi
    sleep 2 # the fly-in, the title
    local c0 c1 end
    c0=$(cpu "$GAME_PID")
    end=$(( $(date +%s) + SECS ))
    while [ "$(date +%s)" -lt "$end" ]; do
        xdotool key "$key"
        sleep 0.2
    done
    c1=$(cpu "$GAME_PID")
    kill "$GAME_PID"; wait "$GAME_PID" 2>/dev/null || true
    GAME_PID=
    START_MS=$(( (t1 - t0) / 1000000 ))
    CPU_PER_S=$(awk -v s="$SECS" -v tk="$TICK" -v a="$c0" -v b="$c1" 'BEGIN { printf "%.4f", (b - a) / tk / s }')
}

echo "| game | run | start to window, ms (sound / muted) | CPU s per s, sound | CPU s per s, muted | sound costs, % of a core |"
echo "|---|---|---|---|---|---|"
for game in space-zarkons-3d tie-zarkons; do
    key=space
    [ "$game" = tie-zarkons ] && key=m
    for r in $(seq 1 "$REPS"); do
        run "$game" "$key"
        s1=$START_MS con=$CPU_PER_S
        run "$game" "$key" --mute
        awk -v g="$game" -v r="$r" -v s1="$s1" -v s2="$START_MS" -v c="$con" -v m="$CPU_PER_S" \
            'BEGIN { printf "| %s | %d | %d / %d | %.3f | %.3f | %.1f |\n", g, r, s1, s2, c, m, 100 * (c - m) }'
    done
done
