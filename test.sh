#!/usr/bin/env bash
# Installs what is missing, builds the test suite (clang, AddressSanitizer +
# UndefinedBehaviorSanitizer, libFuzzer) and runs every test headless on a
# private Xvfb with Mesa's software renderer. Extra arguments go to ctest.
set -euo pipefail
cd "$(dirname "$0")"
ROOT=$(pwd)
. scripts/common.sh

ensure_packages "${BUILD_PACKAGES[@]}" "${TEST_PACKAGES[@]}"

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
# A test is tried again (at most twice more) only when it fails: the leak
# checker can still trip over the GL driver's threads at exit now and then.
# A real fault fails every time and still fails the run.
ctest --output-on-failure -j "$JOBS" --repeat until-pass:3 "$@"
