#!/usr/bin/env bash
# docs/screens.md and docs/textures.md are current: the script that writes one
# (scripts/screens_doc.sh renders every screen of scripts/screens.list,
# scripts/textures_doc.py the textures' contact sheets), run into WORK_DIR,
# renders every picture and writes the same .md as the checked-in one; the
# pictures it names are PNGs, and the doc's folder holds exactly those. The
# pictures' bytes are not compared.
#
#   check_doc_current.sh screens|textures KORVOUI SOURCE_DIR WORK_DIR
set -euo pipefail
doc=$1 korvoui=$2 source=$3 work=$4
fail() { echo "FAIL: $*" >&2; exit 1; }

rm -rf "$work" && mkdir -p "$work"
case $doc in
screens) KORVOUI=$korvoui bash "$source/scripts/screens_doc.sh" "$work" ;;
textures) KORVOUI=$korvoui python3 "$source/scripts/textures_doc.py" "$work" ;;
esac || fail "a picture does not render (above)"
diff -u "$source/docs/$doc.md" "$work/$doc.md" ||
  fail "docs/$doc.md differs from what its script writes: run it and commit"
named=$(sed -n "s/^!\[.*\]($doc\/\(.*\.png\))\$/\1/p" "$work/$doc.md" | sort)
[ -n "$named" ] || fail "$doc.md names no picture"
for png in $named; do
  [ "$(head -c 8 "$work/$doc/$png" | od -An -tx1 | tr -d ' \n')" = "89504e470d0a1a0a" ] ||
    fail "$doc/$png is not a PNG"
done
[ "$(cd "$work/$doc" && ls -- *.png | sort)" = "$named" ] || fail "the rendered pictures are not the ones named"
[ "$(cd "$source/docs/$doc" && ls -- *.png | sort)" = "$named" ] ||
  fail "docs/$doc/ does not hold exactly the pictures docs/$doc.md names"
echo "$doc doc: $(wc -l <<<"$named") pictures, current"
