#!/usr/bin/env bash
# Installs what is missing, builds the games (optimised) if needed and starts
# one: ./run.sh [space-zarkons-3d | tie-zarkons] [GLUT options...]
set -euo pipefail
cd "$(dirname "$0")"
ROOT=$(pwd)
. scripts/common.sh

GAME=space-zarkons-3d
case "${1:-}" in
    space-zarkons-3d|tie-zarkons) GAME=$1; shift ;;
esac

ensure_packages "${BUILD_PACKAGES[@]}"

BUILD=build-release
if [ ! -f "$BUILD/CMakeCache.txt" ]; then
    cmake -S . -B "$BUILD" -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF >/dev/null
fi
cmake --build "$BUILD" -j "$(nproc)" --target "$GAME" >/dev/null

# Space Zarkons 3D reads data/... relative to its working directory.
cd "$ROOT/space-zarkons-3d"
exec "$ROOT/$BUILD/bin/$GAME" "$@"
