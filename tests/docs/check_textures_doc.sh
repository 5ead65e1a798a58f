#!/usr/bin/env bash
# docs/textures.md is current: scripts/textures_doc.py run into WORK_DIR
# writes the same textures.md as the checked-in one, and docs/textures/ holds
# exactly the contact sheets it names. The pictures' bytes are not compared.
#
#   check_textures_doc.sh KORVOUI SOURCE_DIR WORK_DIR
set -euo pipefail
korvoui=$1 source=$2 work=$3

fail() { echo "FAIL: $*" >&2; exit 1; }

rm -rf "$work" && mkdir -p "$work"
KORVOUI=$korvoui python3 "$source/scripts/textures_doc.py" "$work" || fail "the sheets do not render (above)"
diff -u "$source/docs/textures.md" "$work/textures.md" ||
  fail "docs/textures.md differs from what scripts/textures_doc.py writes: run it and commit"
named=$(sed -n 's/^!\[.*\](textures\/\(.*\.png\))$/\1/p' "$work/textures.md" | sort)
[ -n "$named" ] || fail "textures.md names no sheet"
[ "$(cd "$work/textures" && ls -- *.png | sort)" = "$named" ] || fail "the rendered sheets are not the ones named"
[ "$(cd "$source/docs/textures" && ls -- *.png | sort)" = "$named" ] ||
  fail "docs/textures/ does not hold exactly the sheets docs/textures.md names"
echo "textures doc: $(grep -c '^| `' "$work/textures.md") textures, current"
