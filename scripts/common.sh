# Shared by run.sh and test.sh: installing what is missing.

# as_root CMD...: runs a command as root (directly, or through sudo).
as_root() {
    if [ "$(id -u)" -eq 0 ]; then
        "$@"
    elif command -v sudo >/dev/null 2>&1; then
        sudo "$@"
    else
        echo "error: '$*' needs root and sudo is not available" >&2
        return 1
    fi
}

# ensure_packages PKG...: installs the Debian packages that are not installed yet.
ensure_packages() {
    local missing=()
    local p
    for p in "$@"; do
        if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
            missing+=("$p")
        fi
    done
    if [ ${#missing[@]} -eq 0 ]; then
        return 0
    fi
    echo "Installing: ${missing[*]}"
    as_root apt-get update -qq
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

# What building and running the games needs.
BUILD_PACKAGES=(build-essential cmake pkg-config gettext freeglut3-dev libglu1-mesa-dev libgl1-mesa-dri libopenal-dev libx11-dev libsdl2-dev)
# What the test suite needs on top.
TEST_PACKAGES=(clang libclang-rt-14-dev libgtest-dev googletest libbenchmark-dev libx11-dev xvfb xauth
               x11-utils xdotool imagemagick python3 python3-pil assimp-utils
               desktop-file-utils dpkg-dev file appstream lintian mandoc locales)

# ensure_locales NAME...: generates the locales (en_US.UTF-8 ...) not there yet.
ensure_locales() {
    local l
    for l in "$@"; do
        if ! locale -a 2>/dev/null | grep -qix "$(echo "$l" | sed 's/UTF-8$/utf8/')"; then
            echo "Generating the $l locale"
            as_root localedef -i "${l%%.*}" -f "${l#*.}" "$l"
        fi
    done
}

# start_xvfb: starts a private X server and exports DISPLAY. The server finds
# a free display itself and names it once it is ready (a look at the lock
# files first would let two scripts started at once take the same number and
# share one server).
start_xvfb() {
    local numero i
    numero=$(mktemp /tmp/zk-xvfb-XXXXXX)
    Xvfb -displayfd 3 -screen 0 1920x1200x24 -nolisten tcp -noreset 3>"$numero" >/dev/null 2>&1 &
    XVFB_PID=$!
    for i in $(seq 1 300); do
        # the number is written whole, with its newline, when the server is up
        if [ -s "$numero" ] && [ -z "$(tail -c 1 "$numero")" ]; then
            export DISPLAY=":$(cat "$numero")"
            rm -f "$numero"
            return 0
        fi
        if ! kill -0 "$XVFB_PID" 2>/dev/null; then
            break
        fi
        sleep 0.1
    done
    kill "$XVFB_PID" 2>/dev/null || true
    rm -f "$numero"
    echo "error: could not start Xvfb" >&2
    return 1
}

stop_xvfb() {
    if [ -n "${XVFB_PID:-}" ]; then
        kill "$XVFB_PID" 2>/dev/null || true
        wait "$XVFB_PID" 2>/dev/null || true
        XVFB_PID=
    fi
}
