#!/bin/sh
# Globals are declared in one header per program: no .cpp may declare its own
# extern (extern "C" blocks for the model module's C interface are fine).
cd "$(dirname "$0")/../.." || exit 2
found=$(grep -rnE '^\s*extern\s+[^"]' --include='*.cpp' --include='*.c' \
    common space-zarkons-3d tie-zarkons tools 2>/dev/null)
if [ -n "$found" ]; then
    echo "extern declarations outside the globals headers:"
    echo "$found"
    exit 1
fi
echo "no stray extern declarations"
