#!/usr/bin/env bash
# Loads generated AC3D files of 1 k, 10 k, 100 k and 1 M vertices with our
# loader and with `assimp info` (Debian's assimp-utils) and prints the times.
#   tests/bench/ac3d_vs_assimp.sh [BUILD_DIR]
# BUILD_DIR is a build configured with -DZK_BENCH=ON (default: build-bench),
# preferably Release or RelWithDebInfo; bench_ac3d is built there if missing.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/../.." && pwd)
BUILD=${1:-$ROOT/build-bench}
BENCH=$BUILD/bin/bench_ac3d
if [ ! -x "$BENCH" ]; then
    cmake --build "$BUILD" --target bench_ac3d -j2 >/dev/null
fi
command -v assimp >/dev/null || { echo "assimp not found (apt-get install assimp-utils)" >&2; exit 1; }

WORK=$(mktemp -d /tmp/zk-ac3d-vs-assimp-XXXXXX)
trap 'rm -rf "$WORK"' EXIT

now_ns() { date +%s%N; }
ms_between() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.1f", (b - a) / 1e6 }'; }

printf '%10s %10s %14s %16s %18s\n' vertices "file MB" "ours load ms" "ours process ms" "assimp info ms"
for n in 1000 10000 100000 1000000; do
    file=$WORK/grid-$n.ac
    "$BENCH" --write "$n" "$file"
    mb=$(du -m "$file" | cut -f1)
    t0=$(now_ns)
    ours=$("$BENCH" --load "$file" | sed -n 's/.*loaded in \([0-9.]*\) ms/\1/p')
    t1=$(now_ns)
    if assimp info "$file" >/dev/null 2>&1; then status=""; else status=" (failed)"; fi
    t2=$(now_ns)
    printf '%10s %10s %14s %16s %18s\n' "$n" "$mb" "$ours" "$(ms_between "$t0" "$t1")" \
        "$(ms_between "$t1" "$t2")$status"
done
