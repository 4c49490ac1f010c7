#!/usr/bin/env bash
# How loud the mix gets in a long fight: each game played fire-heavy for a
# while (the fire key every 50 ms, the ship swept from side to side, a lost
# game started again) with OpenAL writing its mix to a WAV file, as the sound
# tests hear it. Figures per game: the peak and the RMS of the recording (in
# dB below full scale), the samples at full scale and those above 0.9 of it.
#
# Usage: tests/bench/bench_mezcla.sh [build dir] [seconds per game]
# (build dir defaults to build-release, as ./run.sh makes it)
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/../.." && pwd)
BUILD=${1:-$ROOT/build-release}
case "$BUILD" in /*) ;; *) BUILD=$(pwd)/$BUILD ;; esac
SECS=${2:-60}
. "$ROOT/tests/bench/xvfb_bench.sh"
bench_preparar space-zarkons-3d python3
bench_juego tie-zarkons
bench_xvfb
export MESA_SHADER_CACHE_DISABLE=true

# the same file output the sound tests use
cat >"$TMP/alsoft.conf" <<EOF
[general]
drivers = wave
channels = stereo
sample-type = int16
frequency = 44100
hrtf = false
stereo-mode = speakers
stereo-encoding = panpot
dither = false
period_size = 441
periods = 2
[wave]
file = $TMP/out.wav
EOF
export ALSOFT_CONF=$TMP/alsoft.conf ALSOFT_DRIVERS=wave

# play GAME FIRE_KEY NEW_GAME_KEY: SECS seconds of a fight into out.wav
play() {
    local game=$1 fire=$2 again=$3 cwd=$ROOT/space-zarkons-3d w n k
    [ "$game" = tie-zarkons ] && cwd=$TMP
    rm -f "$TMP/out.wav"
    bench_juego "$game"
    bench_lanzar "$cwd"
    w=$(bench_ventana)
    xdotool windowfocus "$w" 2>/dev/null || true
    # past Tie Zarkons' opening line and title: the first key once the game
    # draws, the second two frames after it
    if [ "$game" = tie-zarkons ]; then
        bench_esperar_cuadros 0
        for k in x x; do
            n=$(bench_cuadros)
            xdotool key "$k"
            bench_esperar_cuadros $((n + 1))
        done
    fi
    local end=$(( $(date +%s) + SECS )) side=Left
    n=0
    {
        while [ "$(date +%s)" -lt "$end" ]; do
            echo "key $fire"
            n=$((n + 1))
            # a sweep of half a second each way, and now and then a new game
            if [ $((n % 10)) -eq 0 ]; then
                if [ "$side" = Left ]; then side=Right; else side=Left; fi
            fi
            echo "key $side"
            [ $((n % 40)) -eq 0 ] && echo "key $again"
            sleep 0.05
        done
    } | xdotool - >/dev/null 2>&1
    # Escape ends the game through exit(), which closes the file whole
    xdotool key Escape
    wait "$GAME_PID" 2>/dev/null || true
    GAME_PID=
}

measure() {
    python3 - "$TMP/out.wav" "$1" <<'EOF'
import array, math, struct, sys
b = open(sys.argv[1], 'rb').read()
pos, ch, rate, data = 12, 2, 44100, b''
while pos + 8 <= len(b):
    tag, size = b[pos:pos + 4], struct.unpack('<I', b[pos + 4:pos + 8])[0]
    if tag == b'fmt ':
        ch, rate = struct.unpack('<HI', b[pos + 10:pos + 16])
    elif tag == b'data':
        # a file cut short has no size yet: read to its end
        data = b[pos + 8:pos + 8 + size] if size else b[pos + 8:]
        break
    pos += 8 + size + (size & 1)
s = array.array('h')
s.frombytes(data[:len(data) // 2 * 2])
peak = max((abs(v) for v in s), default=0)
rms = math.sqrt(sum(v * v for v in s) / len(s)) if s else 0.0
db = lambda v: 20 * math.log10(v / 32767) if v > 0 else float('-inf')
full = sum(1 for v in s if v >= 32767 or v <= -32767)
high = sum(1 for v in s if abs(v) > 0.9 * 32767)
print("| %s | %.1f | %d (%.2f dB) | %.0f (%.1f dB) | %d | %d |"
      % (sys.argv[2], len(s) / ch / rate, peak, db(peak), rms, db(rms), full, high))
EOF
}

echo "| game | seconds recorded | peak | RMS | samples at full scale | samples above 0.9 |"
echo "|---|---|---|---|---|---|"
play space-zarkons-3d space Return
measure space-zarkons-3d
play tie-zarkons m s
measure tie-zarkons
