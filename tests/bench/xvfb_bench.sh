# Sourced by the games' benchmark scripts once they have set ROOT and BUILD:
# the set-up they share. bench_preparar GAME checks that the game is built and
# that the tools are there, makes TMP (also the records' home, never the real
# one, and the settings') and builds the floor program (floor_quad.c) as $TMP/floor; bench_xvfb
# then starts a private Xvfb with Mesa's software renderer. On exit the game
# in GAME_PID ends, the Xvfb stops and TMP goes.
. "$ROOT/scripts/common.sh"

bench_limpiar() {
    if [ -n "${GAME_PID:-}" ]; then kill "$GAME_PID" 2>/dev/null || true; fi
    stop_xvfb
    rm -rf "$TMP"
}

bench_preparar() {
    GAME=$BUILD/bin/$1
    if [ ! -x "$GAME" ]; then
        echo "error: $GAME is not built (cmake --build $BUILD --target $1)" >&2
        exit 1
    fi
    local tool
    for tool in cc xdotool Xvfb xdpyinfo; do
        command -v "$tool" >/dev/null || { echo "error: $tool is missing" >&2; exit 1; }
    done
    TMP=$(mktemp -d)
    export XDG_DATA_HOME=$TMP XDG_CONFIG_HOME=$TMP
    GAME_PID=
    trap bench_limpiar EXIT
    cc -O2 -o "$TMP/floor" "$ROOT/tests/bench/floor_quad.c" -lglut -lGLU -lGL
}

bench_xvfb() {
    start_xvfb
    export LIBGL_ALWAYS_SOFTWARE=1
}
