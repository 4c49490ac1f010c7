#!/bin/sh
# catalogo_completo.sh SOURCE_DIR: fails when a catalogue of po/ does not pass
# msgfmt --check, holds a fuzzy or untranslated message, or lacks a text the
# games' sources mark (so a new Spanish text without its English fails).
set -eu
src=$1
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
cd "$src"
git ls-files '*.cpp' 2>/dev/null | grep -v '^tests/' > "$tmp/fuentes" ||
    find common space-zarkons-3d tie-zarkons -name '*.cpp' > "$tmp/fuentes"
xgettext --from-code=ISO-8859-1 -C -k -kzk_tr -kZK_N -kzk_trc:1c,2 --no-location \
    -f "$tmp/fuentes" -o "$tmp/zarkons.pot"
[ -s "$tmp/zarkons.pot" ] || { echo "no marked text found in the sources" >&2; exit 1; }
status=0
for idioma in $(grep -v '^#' po/LINGUAS); do
    po=po/$idioma.po
    if ! msgfmt --check -o /dev/null "$po"; then
        echo "$po: msgfmt --check fails" >&2
        status=1
    fi
    for clase in --only-fuzzy --untranslated; do
        if [ -n "$(msgattrib $clase --no-obsolete "$po")" ]; then
            echo "$po: messages $clase:" >&2
            msgattrib $clase --no-obsolete "$po" >&2
            status=1
        fi
    done
    if ! msgcmp "$po" "$tmp/zarkons.pot" >&2; then
        echo "$po lacks texts the sources mark" >&2
        status=1
    fi
done
exit $status
