#!/usr/bin/env bash
# Screenshots of both games in play, for the README. Starts a private Xvfb,
# plays each built game for a few seconds with xdotool and writes
#   docs/space-zarkons-3d.png   the formation, the fighter, the score line and a burst
#   docs/tie-zarkons.png        the play field
# Usage: tools/screenshots.sh [BUILD_DIR]   (default: build)
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
. "$ROOT/scripts/common.sh"

BUILD=${1:-$ROOT/build}
case "$BUILD" in /*) ;; *) BUILD=$ROOT/$BUILD ;; esac
OUT=$ROOT/docs
WORK=$(mktemp -d /tmp/zk-shots-XXXXXX)
# the games keep their records and settings here, never in the real home
export XDG_DATA_HOME=$WORK XDG_CONFIG_HOME=$WORK
GAME_PID=

for exe in space-zarkons-3d tie-zarkons; do
    if [ ! -x "$BUILD/bin/$exe" ]; then
        echo "error: $BUILD/bin/$exe is not built" >&2
        exit 1
    fi
done
for tool in Xvfb xdotool import convert; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        echo "error: $tool is missing (packages: xvfb xdotool imagemagick)" >&2
        exit 1
    fi
done

cleanup() {
    if [ -n "$GAME_PID" ]; then
        kill "$GAME_PID" 2>/dev/null || true
        wait "$GAME_PID" 2>/dev/null || true
    fi
    stop_xvfb
    rm -rf "$WORK"
}
trap cleanup EXIT

# launch EXE DIR TITLE: starts a game in DIR and sets WIN to its window.
launch() {
    (cd "$2" && exec "$BUILD/bin/$1" >"$WORK/$1.log" 2>&1) &
    GAME_PID=$!
    WIN=
    local i
    for i in $(seq 1 100); do
        WIN=$(xdotool search --onlyvisible --name "^$3\$" 2>/dev/null | head -n 1 || true)
        [ -n "$WIN" ] && break
        sleep 0.1
    done
    if [ -z "$WIN" ]; then
        echo "error: no window \"$3\" from $1" >&2
        cat "$WORK/$1.log" >&2
        exit 1
    fi
    xdotool windowfocus --sync "$WIN" 2>/dev/null || true
}

# press KEY [HOLD]: a key press held for HOLD seconds (a short tap by default).
press() {
    xdotool windowfocus "$WIN" 2>/dev/null || true
    xdotool keydown "$1"
    sleep "${2:-0.05}"
    xdotool keyup "$1"
}

# quit: ends the running game with Escape.
quit() {
    press Escape
    wait "$GAME_PID" 2>/dev/null || true
    GAME_PID=
}

# glow FILE: how much of the formation's band is pale and bright (every
# channel high), which is what sparks are and ships mostly are not; the frame
# with the most holds the fullest burst.
glow() {
    convert "$1" -crop 640x230+0+170 +repage -channel RGB -separate \
        -evaluate-sequence min -threshold 35% -format "%[fx:mean*1000000]" info: | cut -d. -f1
}

start_xvfb
mkdir -p "$OUT"

# --- Space Zarkons 3D: wait out the fly-in, show the score line, shoot into
# the formation and keep the frame with the brightest burst.
launch space-zarkons-3d "$ROOT/space-zarkons-3d" "Space Zarkons 3D"
sleep 2.5
press s
sleep 0.3
for round in 1 2 3; do
    press space
    sleep 0.25
    for frame in 1 2 3 4 5 6 7 8; do
        import -window "$WIN" "$WORK/szk-$round-$frame.png"
    done
    press Left 0.4
done
best=-1
for shot in "$WORK"/szk-*.png; do
    score=$(glow "$shot")
    if [ "$score" -gt "$best" ]; then
        best=$score
        cp "$shot" "$OUT/space-zarkons-3d.png"
    fi
done
quit

# --- Tie Zarkons: skip the opening line and the title, then play a moment.
launch tie-zarkons "$ROOT" "Tie Zarkons"
sleep 0.5
press space
sleep 0.3
press space
sleep 1.0
for i in 1 2 3; do
    press Right 0.3
    press m
    sleep 0.3
done
press m
sleep 0.25
import -window "$WIN" "$OUT/tie-zarkons.png"
quit

echo "wrote $OUT/space-zarkons-3d.png and $OUT/tie-zarkons.png"
