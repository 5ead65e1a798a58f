#!/bin/sh
# The layout check of `korvoui render --check`.
#
#   run_layout.sh screens KORVOUI SOURCE_DIR WORK_DIR
#       every screen of scripts/screens.list, at 1024x768 and at 640x480: no
#       text leaves its window or lies over another text.
#   run_layout.sh faults KORVOUI SOURCE_DIR WORK_DIR
#       the check finds each kind of fault in tests/tools/layout_root, and a
#       fault put into a copy of the shipped script; the copy as shipped passes.
set -u
mode=$1 korvoui=$2 src=$3 work=$4
mkdir -p "$work"
fail() { echo "FAIL: $*"; exit 1; }
# check ROOT SIZE DIALOG: the fault lines of the check, without their pixel
# boxes, which change with the screen; fails unless the check exits 1.
check() {
  out=$("$korvoui" render --root "$1" --screen "$2" --check "$3" 2>/dev/null)
  [ $? -eq 1 ] || fail "$3 at $2: exit status not 1: $out"
  got=$(echo "$out" | grep '^layout: ' | grep -v ' texts, ' | sed -E 's/ at -?[0-9]+,-?[0-9]+ [0-9]+x[0-9]+//g')
}

case $mode in
screens)
  bad=0
  sed -e '/^#/d' -e '/^[[:space:]]*$/d' "$src/scripts/screens.list" > "$work/screens.txt"
  while IFS= read -r line; do
    for size in 1024x768 640x480; do
      # shellcheck disable=SC2086
      out=$("$korvoui" render --check --screen $size ${line%% | *} </dev/null 2>&1) ||
        { echo "FAIL: ${line%% | *} at $size:"; echo "$out" | grep -v '^wrote ' | sed 's/^/  /'; bad=1; }
    done
  done < "$work/screens.txt"
  [ $bad -eq 0 ] || exit 1
  echo "ok: $(wc -l < "$work/screens.txt") screens at 1024x768 and 640x480"
  ;;
faults)
  expected="layout: IDC_STATIC_LONG \"MUCH TOO LONG FOR ITS BOX\" leaves IDC_STATIC_LONG
layout: IDC_STATIC_LOW \"LOW\" leaves IDC_STATIC_LOW
layout: IDC_BUTTON_NARROW \"A CAPTION FAR TOO WIDE\" leaves IDC_BUTTON_NARROW
layout: IDC_STATIC_OUTSIDE \"OUTSIDE\" leaves LAYOUTMENU
layout: IDC_STATIC_COVERED \"COVERED\" under IDC_BITMAP_COVER \"menu/cover.png\"
layout: IDC_STATIC_SECOND \"SECOND\" over IDC_STATIC_FIRST \"FIRST\""
  root=$work/root
  rm -rf "$root" && mkdir -p "$root/data/script/ui"
  script=$root/data/script/ui/ui_script.txt
  cp "$src/assets/data/script/ui/ui_script.txt" "$script"
  # A copy of the shipped script passes; with the title's button narrowed and
  # the prompt moved onto the next button it fails, naming both.
  out=$("$korvoui" render --root "$root" --check MAINMENU 2>/dev/null) || fail "the shipped copy: $out"
  sed -i -e 's/\(IDC_BUTTON_MAINSINGLEPLAY CF_TABSTOP\) 0.090, 0.365, 0.250,/\1 0.090, 0.365, 0.050,/' \
         -e 's/\(IDC_STATIC_MAINPROMPT *\) 0.049, 0.323,/\1 0.120, 0.460,/' "$script"
  cmp -s "$script" "$src/assets/data/script/ui/ui_script.txt" && fail "the copy was not broken"
  for size in 1024x768 640x480; do
    check "$src/tests/tools/layout_root" $size LAYOUTMENU
    [ "$got" = "$expected" ] || fail "faults at $size:
$got
expected:
$expected"
    echo "$out" | grep -qx "layout: 10 texts, 6 faults ($size)" || fail "summary at $size: $out"
    check "$root" $size MAINMENU
    echo "$got" | grep -q '^layout: IDC_BUTTON_MAINSINGLEPLAY "SINGLE PLAYER" leaves IDC_BUTTON_MAINSINGLEPLAY$' ||
      fail "no fault of the narrowed button at $size: $got"
    echo "$got" | grep -q '^layout: IDC_STATIC_MAINPROMPT "SELECT OPERATION" over IDC_BUTTON_MAINMULTIPALY "MULTIPLAYER"$\|^layout: IDC_BUTTON_MAINMULTIPALY "MULTIPLAYER" over IDC_STATIC_MAINPROMPT "SELECT OPERATION"$' ||
      fail "no fault of the moved prompt at $size: $got"
  done
  echo "ok: faults"
  ;;
*)
  fail "unknown mode $mode"
  ;;
esac
