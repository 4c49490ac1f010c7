# Sourced by the games' benchmark scripts once they have set ROOT and BUILD:
# the set-up they share. bench_preparar GAME [TOOL...] checks that the game is
# built and that the tools are there (the usual ones and the script's own),
# makes TMP (also the records' home, never the real one, and the settings')
# and builds the floor program (floor_quad.c) as $TMP/floor and the frame probe
# (tests/soak/frame_probe.c); bench_xvfb then starts a private Xvfb with
# Mesa's software renderer. bench_lanzar starts the game with the probe in it,
# so that bench_ventana and bench_esperar_cuadros wait for its window and its
# frames rather than for a fixed time. On exit the game in GAME_PID ends, the
# Xvfb stops and TMP goes.
. "$ROOT/scripts/common.sh"

bench_limpiar() {
    if [ -n "${GAME_PID:-}" ]; then kill "$GAME_PID" 2>/dev/null || true; fi
    stop_xvfb
    rm -rf "$TMP"
}

# bench_juego GAME: GAME becomes the built game's path, or the script ends.
bench_juego() {
    GAME=$BUILD/bin/$1
    if [ ! -x "$GAME" ]; then
        echo "error: $GAME is not built (cmake --build $BUILD --target $1)" >&2
        exit 1
    fi
}

bench_preparar() {
    bench_juego "$1"
    shift
    local tool
    for tool in cc xdotool Xvfb xdpyinfo od "$@"; do
        command -v "$tool" >/dev/null || { echo "error: $tool is missing" >&2; exit 1; }
    done
    TMP=$(mktemp -d)
    export XDG_DATA_HOME=$TMP XDG_CONFIG_HOME=$TMP
    GAME_PID=
    trap bench_limpiar EXIT
    cc -O2 -o "$TMP/floor" "$ROOT/tests/bench/floor_quad.c" -lglut -lGLU -lGL
    cc -O2 -shared -fPIC -o "$TMP/cuadros.so" "$ROOT/tests/soak/frame_probe.c" -ldl
}

bench_xvfb() {
    start_xvfb
    export LIBGL_ALWAYS_SOFTWARE=1
}

# bench_lanzar FOLDER [VAR=value...]: starts GAME in FOLDER, its output thrown
# away, with the frame probe preloaded (beside any LD_PRELOAD given) and its
# count started afresh; sets GAME_PID.
bench_lanzar() {
    local dir=$1 precarga=$TMP/cuadros.so v
    local entorno=()
    shift
    for v in "$@"; do
        case $v in
            LD_PRELOAD=*) precarga="$precarga ${v#LD_PRELOAD=}" ;;
            *) entorno+=("$v") ;;
        esac
    done
    rm -f "$TMP/cuadros"
    (cd "$dir" && exec env "${entorno[@]}" ZK_FRAME_PROBE="$TMP/cuadros" LD_PRELOAD="$precarga" \
        "$GAME" >/dev/null 2>&1) &
    GAME_PID=$!
}

# bench_cuadros: the frames the game in GAME_PID has drawn so far.
bench_cuadros() {
    local n
    n=$(od -An -tu8 -N8 "$TMP/cuadros" 2>/dev/null | tr -d ' ') || true
    echo "${n:-0}"
}

# bench_esperar_cuadros N: waits (60 s at most) until the game has drawn more
# than N frames; N 0 waits for the first.
bench_esperar_cuadros() {
    local fin=$(( $(date +%s) + 60 ))
    while [ "$(bench_cuadros)" -le "$1" ]; do
        if [ "$(date +%s)" -ge "$fin" ] || ! kill -0 "$GAME_PID" 2>/dev/null; then
            echo "error: $(basename "$GAME") drew no frame past the $1th" >&2
            exit 1
        fi
        sleep 0.02
    done
}

# bench_ventana: waits (60 s at most) for the game's visible window, prints its id.
bench_ventana() {
    local fin=$(( $(date +%s) + 60 )) w=
    while [ -z "$w" ]; do
        if [ "$(date +%s)" -ge "$fin" ] || ! kill -0 "$GAME_PID" 2>/dev/null; then
            echo "error: $(basename "$GAME") showed no window" >&2
            exit 1
        fi
        w=$(xdotool search --onlyvisible --pid "$GAME_PID" --name . 2>/dev/null | head -1) || true
        [ -n "$w" ] || sleep 0.02
    done
    echo "$w"
}
