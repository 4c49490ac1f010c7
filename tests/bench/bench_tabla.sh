#!/usr/bin/env bash
# Today's figures against another build's, for the table of a change: runs
# bench_space_zarkons.sh and bench_tie_zarkons.sh on each build, alternating
# builds, RUNS times, and prints the median of each figure (the floor
# program is measured in every run, so each ratio is against its own floor).
#
# Usage: tests/bench/bench_tabla.sh BUILD_A BUILD_B [RUNS] [SECONDS]
#   (defaults: 3 runs, 6 seconds a phase)
set -euo pipefail
HERE=$(cd "$(dirname "$0")" && pwd)
A=$1
B=$2
RUNS=${3:-3}
SECS=${4:-6}
OUT=$(mktemp -d /tmp/zk-tabla-XXXXXX)
trap 'rm -rf "$OUT"' EXIT

echo "load at the start: $(cut -d' ' -f1-3 /proc/loadavg)"
for r in $(seq 1 "$RUNS"); do
    for b in "$A" "$B"; do
        tag=$(basename "$b")
        "$HERE/bench_space_zarkons.sh" "$b" "$SECS" >>"$OUT/szk.$tag" 2>/dev/null
        "$HERE/bench_tie_zarkons.sh" "$b" "$SECS" >>"$OUT/tie.$tag" 2>/dev/null
    done
done
echo "load at the end: $(cut -d' ' -f1-3 /proc/loadavg)"

# figures FILE: one "name value" line per figure of every run
figures() {
    awk '
    /^first frame/ { print "szk-first-frame-s", $5 }
    /^peak resident/ { print "szk-peak-MB", $4 }
    /^floor, same display: textured quad [0-9.]+ s\/s/ { print "szk-floor-quad-cpu", $6; print "szk-floor-clear-cpu", $12 }
    /^(formation|explosions) / {
        p = "szk-" $1; v = $5; sub(/\/s/, "", v); print p "-ticks/s", v
        v = $6; gsub(/[(%]/, "", v); print p "-%-of-nominal", v
        v = $11; sub(/\/s,/, "", v); print p "-frames/s", v
        print p "-cpu", $13
        print p "-x-floor", $21
    }
    /^floor, same display: textured quad [0-9.]+ CPU/ { print "tie-floor-quad-cpu", $6; print "tie-floor-clear-cpu", $13 }
    /^(xvfb|nosync|vsync) (play|help)/ {
        print "tie-" $1 "-" $2 "-fps", $3
        print "tie-" $1 "-" $2 "-cpu", $6
        v = $9; sub(/\(/, "", v); print "tie-" $1 "-" $2 "-x-floor", v
    }' "$@"
}

printf "%-28s %12s %12s\n" figure "$(basename "$A")" "$(basename "$B")"
paste <(figures "$OUT/szk.$(basename "$A")" "$OUT/tie.$(basename "$A")") \
      <(figures "$OUT/szk.$(basename "$B")" "$OUT/tie.$(basename "$B")") |
awk '
{ n = $1; a[n] = a[n] " " $2; b[n] = b[n] " " $4; if (!(n in seen)) { seen[n] = 1; order[++k] = n } }
function median(s,   v, m, i, j, t) {
    m = split(s, v, " ")
    for (i = 1; i <= m; i++) for (j = i + 1; j <= m; j++) if (v[j] + 0 < v[i] + 0) { t = v[i]; v[i] = v[j]; v[j] = t }
    return m % 2 ? v[(m + 1) / 2] : (v[m / 2] + v[m / 2 + 1]) / 2
}
END { for (i = 1; i <= k; i++) printf "%-28s %12s %12s\n", order[i], median(a[order[i]]), median(b[order[i]]) }'
