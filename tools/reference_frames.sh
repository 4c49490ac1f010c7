#!/usr/bin/env bash
# Takes the comparison frames of both games from a build: fixed game states
# set through the games' globals (tools/frames/), drawn by the build's own
# game libraries on a private Xvfb with Mesa's software renderer, written as
# PNG files. The capture programs are compiled here, from this tree's
# tools/frames, against the build's static libraries and the headers of the
# tree the build was made from, so the build may come from any branch.
#
# Usage: tools/reference_frames.sh BUILD_DIR OUT_DIR
#   BUILD_DIR  a build without sanitizers (e.g. -DCMAKE_BUILD_TYPE=Release)
#   OUT_DIR    gets szk-*.png and tie-*.png
# The committed references are tests/frames/reference/; to take them again
# (e.g. from a branch that changes a screen on purpose):
#   tools/reference_frames.sh /path/to/that/build tests/frames/reference
# tests/frames/compare_frames.py compares two folders of frames.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
. "$ROOT/scripts/common.sh"
if [ $# -ne 2 ]; then
    echo "usage: $0 BUILD_DIR OUT_DIR" >&2
    exit 2
fi
BUILD=$(cd "$1" && pwd)
mkdir -p "$2"
OUT=$(cd "$2" && pwd)
SRC=$(sed -n 's/^CMAKE_HOME_DIRECTORY:INTERNAL=//p' "$BUILD/CMakeCache.txt")
[ -d "$SRC" ] || { echo "error: $BUILD is not a CMake build of the games" >&2; exit 1; }
for tool in c++ Xvfb xdpyinfo convert; do
    command -v "$tool" >/dev/null || { echo "error: $tool is missing" >&2; exit 1; }
done

WORK=$(mktemp -d /tmp/zk-frames-XXXXXX)
cleanup() {
    stop_xvfb
    rm -rf "$WORK"
}
trap cleanup EXIT

lib() { find "$BUILD" -name "lib$1.a" -print -quit; }
GL_LIBS="-lglut -lGLU -lGL -lGLX -lX11"
# the shared libraries a build may have beside the games' own
EXTRA=()
for f in zk_records zk_sound zk_gamepad zk_settings zk_archivo zk_idioma zk_window zk_cli; do
    [ -n "$(lib $f)" ] && EXTRA+=("$(lib $f)")
done
[ -n "$(lib zk_sound)" ] && GL_LIBS="$GL_LIBS -lopenal"
[ -n "$(lib zk_gamepad)" ] && GL_LIBS="$GL_LIBS -lSDL2"
for f in szk_core szk_scene szk_assets szk_particles zk_text tz_game; do
    [ -n "$(lib $f)" ] || { echo "error: lib$f.a is not built in $BUILD" >&2; exit 1; }
done
c++ -std=c++17 -O1 -o "$WORK/space" "$ROOT/tools/frames/fotogramas_space.cpp" \
    -I"$ROOT/tools/frames" -I"$SRC/space-zarkons-3d/core" -I"$SRC/space-zarkons-3d/scene" \
    -I"$SRC/space-zarkons-3d/assets" -I"$SRC/space-zarkons-3d/particles" -I"$SRC/common/text" \
    -I"$SRC/common/idioma" \
    -Wl,--start-group "$(lib szk_core)" "$(lib szk_scene)" "$(lib szk_assets)" \
    "$(lib szk_particles)" "$(lib zk_text)" "${EXTRA[@]}" -Wl,--end-group $GL_LIBS
c++ -std=c++17 -O1 -o "$WORK/tie" "$ROOT/tools/frames/fotogramas_tie.cpp" \
    -I"$ROOT/tools/frames" -I"$SRC/tie-zarkons" -I"$SRC/common/text" -I"$SRC/common/idioma" \
    -Wl,--start-group "$(lib tz_game)" "$(lib zk_text)" "${EXTRA[@]}" -Wl,--end-group $GL_LIBS

start_xvfb
export LIBGL_ALWAYS_SOFTWARE=1
# no records of a player on this machine end up in the frames
export XDG_DATA_HOME=$WORK/datos
mkdir -p "$XDG_DATA_HOME"
(cd "$SRC/space-zarkons-3d" && "$WORK/space" "$WORK" >/dev/null)
(cd "$WORK" && "$WORK/tie" "$WORK" >/dev/null)
for ppm in "$WORK"/*.ppm; do
    name=$(basename "$ppm" .ppm)
    convert "$ppm" -strip "$OUT/$name.png"
done
echo "frames of $BUILD in $OUT: $(cd "$OUT" && ls *.png | tr '\n' ' ')"
