#!/usr/bin/env bash
# The frames of both games in their fixed states, drawn by this build, against
# the committed references (tools/reference_frames.sh took them).
# Usage: test_frames.sh BIN_DIR   (on an X display)
set -euo pipefail
HERE=$(cd "$(dirname "$0")" && pwd)
ROOT=$(cd "$HERE/../.." && pwd)
BIN=$1
if [ -z "${DISPLAY:-}" ]; then
    echo "skipped: no X display (DISPLAY is unset) to draw the frames on"
    exit 77 # ctest's skip
fi
WORK=$(mktemp -d /tmp/zk-frames-test-XXXXXX)
trap 'rm -rf "$WORK"' EXIT
export XDG_DATA_HOME=$WORK/datos
mkdir -p "$XDG_DATA_HOME"
(cd "$ROOT/space-zarkons-3d" && "$BIN/zk-frames-space" "$WORK" >/dev/null)
(cd "$WORK" && "$BIN/zk-frames-tie" "$WORK" >/dev/null)
for ppm in "$WORK"/*.ppm; do
    convert "$ppm" "${ppm%.ppm}.png"
done
"$HERE/compare_frames.py" "$HERE/reference" "$WORK"
