#!/usr/bin/env bash
# Installs what is missing, builds the test suite (clang, AddressSanitizer +
# UndefinedBehaviorSanitizer, libFuzzer) and runs every test headless on a
# private Xvfb with Mesa's software renderer. Extra arguments go to ctest.
set -euo pipefail
cd "$(dirname "$0")"
ROOT=$(pwd)
. scripts/common.sh

ensure_packages "${BUILD_PACKAGES[@]}" "${TEST_PACKAGES[@]}"
# the language tests start the games in these; the rest of the suite runs in C
ensure_locales en_US.UTF-8 es_ES.UTF-8 fr_FR.UTF-8
export LC_ALL=C
unset LANGUAGE

BUILD=${ZK_TEST_BUILD:-build-test}
JOBS=$(nproc)
CC=clang CXX=clang++ cmake -S . -B "$BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DZK_SANITIZE=ON -DZK_FUZZ=ON -DBUILD_TESTING=ON -DZK_WERROR=ON >/dev/null
cmake --build "$BUILD" -j "$JOBS"

trap stop_xvfb EXIT
start_xvfb
echo "Xvfb on $DISPLAY"

# Mesa's software renderer; the sanitizer settings come with each test
export LIBGL_ALWAYS_SOFTWARE=1
# Mesa's shader-cache thread can still be running when a test's leak check
# starts at exit; the cache buys nothing here
export MESA_SHADER_CACHE_DISABLE=true
# one rasterising thread: fewer threads for the leak checker to stop at exit,
# and no oversubscription of the two cores by parallel tests
export LP_NUM_THREADS=0

cd "$BUILD"
# Every test runs once. The one failure run again is the leak checker's own
# trip at exit (it could not stop the GL driver's threads, so it looked for
# no leak): such tests, and only when nothing else failed, run once more,
# and the count is printed. Any other failure fails the run at once.
REPORT=$(mktemp /tmp/zk-ctest-XXXXXX.xml)
trap 'stop_xvfb; rm -f "$REPORT"' EXIT
if ctest --output-on-failure -j "$JOBS" --output-junit "$REPORT" "$@"; then
    exit 0
fi
if ! TRIPPED=$(python3 "$ROOT/tests/leak_trip.py" "$REPORT") || [ -z "$TRIPPED" ]; then
    exit 1
fi
echo "The leak checker tripped over the GL driver's threads at exit in $(echo "$TRIPPED" | wc -l) test(s);"
echo "running only those once more:"
echo "$TRIPPED" | sed 's/^/  /'
ctest --output-on-failure -R "^($(echo "$TRIPPED" | sed 's/[][().*+?^$|\\]/\\&/g' | paste -sd'|'))\$"
