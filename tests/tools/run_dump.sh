#!/bin/sh
# `korvoui dump`: the verbose form shows each window's ctrl line, the class
# bound to its id, its region and its PARAM lists with their shapes; a dialog
# that is not there names the script searched.
#
#   run_dump.sh KORVOUI SOURCE_DIR
set -u
korvoui=$1 src=$2
fail() { echo "FAIL: $*"; exit 1; }

out=$("$korvoui" dump --verbose GALLERY) || fail "dump --verbose exited $?"
expect() {
  printf '%s\n' "$out" | grep -qxF -- "$1" || fail "no line '$1' in:
$out"
}
expect "class name : DIALOG"
expect "ctrl GALLERY class=DIALOG caption=\"Gallery\" created=false hidden=false hittest=true fg=0 exclusive=false children=$(printf '%s\n' "$out" | sed -n 's/^child num : //p' | head -n 1)"
expect "ctrl IDC_BUTTON_GALLERYBACK class=PUSHBUTTON caption=\"BACK\" created=false hidden=false hittest=true fg=0 align=9 tabstop=true disabled=false"
expect "  bound: PUSHBUTTON IDC_BUTTON_GALLERYBACK (the game's class for this id)"
expect "  bound: none (the class PUSHBUTTON alone)"
expect "  region 0.734, 0.885, 0.230, 0.073"
expect "  PARAM 0 (text list): \"NORMAL\", 18, 1, 4, 255, 214, 150, 255"
expect "  PARAM 7 (arrow link): \"IDC_EDIT_GALLERYNUMBER\", 1, 99"

out=$("$korvoui" dump NOSUCHMENU)
[ $? -eq 1 ] || fail "dump NOSUCHMENU did not exit 1"
case $out in
"dump: no dialog NOSUCHMENU in "*"/data/script/ui/ui_script.txt") ;;
*) fail "dump NOSUCHMENU: $out" ;;
esac
out=$("$korvoui" dump --root "$src/tests/tools/small_root" NOSUCHMENU)
[ "$out" = "dump: no dialog NOSUCHMENU in $src/tests/tools/small_root/data/script/ui/ui_script.txt" ] ||
  fail "dump --root: $out"
echo "dump: verbose records and the searched script"
