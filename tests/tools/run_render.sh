#!/bin/sh
# Tests of `korvoui render`: the frame it writes has the asked size, the clear
# colour where nothing is drawn, and the shipped art where a dialog draws it.
#
#   run_render.sh small|gallery|profile|match KORVOUI PNG_PROBE SOURCE_DIR WORK_DIR
set -u
mode=$1 korvoui=$2 probe=$3 src=$4 work=$5
out=$work/$mode.png
mkdir -p "$work"
fail() { echo "FAIL: $*"; exit 1; }
# frame SIZE "X Y W H" N RENDER_ARG...: render writes a SIZE frame with no
# texture missing, and N pixels of that rectangle are not the clear colour.
frame() {
  size=$1 rect=$2 n=$3
  shift 3
  summary=$("$korvoui" render --screen "$size" "$@" -o "$out") || fail "render exited $?: $summary"
  [ "$summary" = "wrote $out ($size), 0 missing textures" ] || fail "summary: $summary"
  # shellcheck disable=SC2086
  facts=$("$probe" "$out" 202028 $rect)
  [ "$facts" = "size $size
rect $rect: $n differ" ] || fail "png facts: $facts, expected $n of $rect differing"
}

case $mode in
small)
  # The band between the edit box (to y 0.4) and the box dialog (from y 0.6)
  # is drawn by no window.
  frame 320x240 "0 108 320 24" 0 --root "$src/small_root" --tick 500 MAINMENU MSGBOX
  ;;
gallery)
  # The gallery's backdrop covers the screen: no pixel of the centre keeps the
  # clear colour.
  frame 1024x768 "480 360 64 48" 3072 GALLERY
  ;;
profile)
  # The shipped game data loads without a word; the profile folder is made;
  # a folder another process holds is used read-only, and said so.
  prof=$work/profile
  rm -rf "$prof"
  summary=$("$korvoui" render --profile "$prof" --screen 640x480 MAINMENU -o "$out" 2>"$work/profile.err") ||
    fail "render exited $?: $summary $(cat "$work/profile.err")"
  [ "$summary" = "wrote $out (640x480), 0 missing textures" ] || fail "summary: $summary"
  [ -s "$work/profile.err" ] && fail "stderr: $(cat "$work/profile.err")"
  [ -d "$prof" ] || fail "no profile folder $prof"
  if command -v flock >/dev/null 2>&1; then
    flock "$prof/.lock" "$korvoui" render --profile "$prof" --screen 640x480 MAINMENU -o "$out" \
      >/dev/null 2>"$work/profile.err" || fail "render in a held folder: $(cat "$work/profile.err")"
    grep -q "in use by another process; opened read-only" "$work/profile.err" ||
      fail "no read-only message: $(cat "$work/profile.err")"
  fi
  "$korvoui" render --profile "" MAINMENU -o "$out" >/dev/null 2>&1 && fail "an empty --profile was taken"
  ;;
match)
  # A match rendered at its end says where it went; the same options draw the
  # same frame, another seed another match; an unknown rule is refused.
  match() { "$korvoui" render --screen 640x480 --match deathmatch --frags 2 --seed "$1" --at 60000 -o "$2"; }
  summary=$(match 3 "$out") || fail "render exited $?: $summary"
  [ "$summary" = "match: loading 6 players
match: fight
match: over (frags) after 12 s, winners: MANTIS
wrote $out (640x480), 0 missing textures" ] || fail "summary: $summary"
  match 3 "$work/again.png" >/dev/null || fail "the second render exited $?"
  cmp -s "$out" "$work/again.png" || fail "the same match drew another frame"
  match 4 "$work/other.png" >/dev/null || fail "the render with another seed exited $?"
  cmp -s "$out" "$work/other.png" && fail "another seed drew the same frame"
  refused=$("$korvoui" render --match nothing -o "$work/none.png")
  [ $? -eq 1 ] || fail "an unknown rule was taken"
  echo "$refused" | grep -q "^no match: unknown rule 'nothing'" || fail "refusal: $refused"
  ;;
*)
  fail "unknown mode $mode"
  ;;
esac
echo "ok: $mode"
