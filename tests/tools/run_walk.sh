#!/bin/sh
# The single-player walk in `korvoui play` under a virtual X server, on the
# shipped assets with a fresh profile folder: main menu, a new pilot, the
# first mission, its briefing, the start, the escape menu and a surrender;
# then a second process on the same profile finds the pilot and its mission.
#
#   run_walk.sh KORVOUI SOURCE_DIR WORK_DIR
# Exit 77 (skipped) without xvfb-run.
set -u
fail() { echo "FAIL: $*"; exit 1; }
korvoui=$1 src=$2 work=$3
command -v xvfb-run >/dev/null 2>&1 || { echo "SKIP: xvfb-run is not installed"; exit 77; }
rm -rf "$work" && mkdir -p "$work" && cd "$work" || fail "cannot make $work"

play() {
  # Leak checks off for the SDL process, as in run_play.sh.
  ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0" \
  SDL_AUDIODRIVER=dummy timeout 120 xvfb-run -a "$korvoui" play --no-lan --profile profile \
    --screen 640x480 --events "$src/walk/$1.events" >"$1.out" 2>"$1.err"
  rc=$?
  [ $rc -eq 0 ] || fail "$1: play exited $rc: $(cat "$1.err")"
  diff -u "$src/walk/$1.expected" "$1.out" || fail "$1: output differs"
}
play walk
[ -f profile/ACE.pilot ] || fail "no pilot file in the profile"
play walk_again
echo "ok"
