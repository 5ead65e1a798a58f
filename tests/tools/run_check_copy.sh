#!/bin/sh
# `korvoui check` on the shipped script finds nothing; on a copy of the root
# with one of each mistake an author makes it reports each, with its place in
# the file and the fix, and exits 1.
#
#   run_check_copy.sh KORVOUI SOURCE_DIR WORK_DIR
set -u
korvoui=$1 src=$2 work=$3
fail() { echo "FAIL: $*"; exit 1; }

out=$("$korvoui" check) || fail "the shipped script: exit $?:
$out"
case $out in
*error*|*warning*) fail "the shipped script is not clean:
$out" ;;
esac

rm -rf "$work" && mkdir -p "$work" && cp -r "$src/assets" "$work/root" || fail "copy"
script=$work/root/data/script/ui/ui_script.txt
# In GALLERY: the LAUNCH button loses its pressed pulse (6 lists), its tab
# stop is misspelt and its hover texture too; the gallery's title static takes
# the id of the script console's close button.
python3 - "$script" <<'PY' || fail "editing the copy"
import sys
path = sys.argv[1]
text = open(path, encoding="latin-1").read()
head = text.index('IDC_BUTTON_GALLERYLAUNCH')
end = text.index('PUSHBUTTON', head)
block = text[head:end]
lines = block.split("\n")
pulse = [i for i, l in enumerate(lines) if l.strip().startswith("PARAM 255")][-1]
del lines[pulse]
block = "\n".join(lines).replace("CF_TABSTOP", "CF_TABSTPO", 1).replace('"btn_hover.png"', '"btn_hovr.png"', 1)
text = text[:head] + block + text[end:]
text = text.replace("IDC_STATIC_GALLERYTITLE ", "IDC_BUTTON_CLOSE        ", 1)
open(path, "w", encoding="latin-1").write(text)
PY
line_of() { grep -n "$1" "$script" | head -n 1 | cut -d: -f1; }
launch=$(line_of 'IDC_BUTTON_GALLERYLAUNCH')
hover=$(line_of 'btn_hovr.png')
title=$(line_of '"CONTROL GALLERY"')

out=$("$korvoui" check --root "$work/root")
rc=$?
[ $rc -eq 1 ] || fail "exit $rc, expected 1:
$out"
expect() {
  printf '%s\n' "$out" | grep -qF -- "$1" || fail "no line '$1' in:
$out"
}
expect "$script:$launch:5: error: PUSHBUTTON 'IDC_BUTTON_GALLERYLAUNCH' has 6 PARAM lists; PUSHBUTTON needs 7 or more PARAM lists (the dialog does not open)"
expect "hint: lists: 0 text list, 1 bitmap list, 2 bitmap list, 3 bitmap list, 4 pulse, 5 bitmap list, 6 pulse, 7 arrow link (only with exactly 8 lists)"
expect ": error: unknown flag 'CF_TABSTPO' on PUSHBUTTON 'IDC_BUTTON_GALLERYLAUNCH' (it is ignored)"
expect "hint: did you mean CF_TABSTOP?"
expect "$script:$hover:15: error: texture 'btn_hovr.png' is not in the root (menu/btn_hovr.png): it draws nothing"
expect 'hint: did you mean "btn_hover.png"?'
expect "$script:$title:40: error: id 'IDC_BUTTON_CLOSE' is bound to PUSHBUTTON, declared as STATIC: the game's behaviour for it does not apply"
expect "hint: declare it as PUSHBUTTON, or give this STATIC another id"
expect ", 4 errors, 0 warnings"
echo "check: shipped script clean, 4 mistakes of the copy reported"
