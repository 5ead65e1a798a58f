#!/usr/bin/env bash
# docs/screens.md is current: scripts/screens_doc.sh renders every screen of
# scripts/screens.list into WORK_DIR (fails when one does not render), its
# screens.md equals the checked-in one, and docs/screens/ holds exactly the
# pictures it names. The pictures' bytes are not compared.
#
#   check_screens_doc.sh KORVOUI SOURCE_DIR WORK_DIR
set -euo pipefail
korvoui=$1 source=$2 work=$3

fail() { echo "FAIL: $*" >&2; exit 1; }

rm -rf "$work"
KORVOUI=$korvoui bash "$source/scripts/screens_doc.sh" "$work" || fail "a screen does not render (above)"
diff -u "$source/docs/screens.md" "$work/screens.md" ||
  fail "docs/screens.md differs from what scripts/screens_doc.sh writes: run it and commit"

named=$(sed -n 's/^!\[.*\](screens\/\(.*\.png\))$/\1/p' "$work/screens.md" | sort)
[ -n "$named" ] || fail "screens.md names no picture"
for png in $named; do
  [ "$(head -c 8 "$work/screens/$png" | od -An -tx1 | tr -d ' \n')" = "89504e470d0a1a0a" ] ||
    fail "screens/$png is not a PNG"
done
[ "$(cd "$work/screens" && ls -- *.png | sort)" = "$named" ] || fail "the rendered pictures are not the ones named"
[ "$(cd "$source/docs/screens" && ls -- *.png | sort)" = "$named" ] ||
  fail "docs/screens/ does not hold exactly the pictures docs/screens.md names"
echo "screens doc: $(wc -l <<<"$named") screens, current"
