#!/bin/sh
# A short simulated match in `korvoui play --match` under a virtual X server:
# loading, the HUD, the escape menu and back, the frag limit, the game-over
# screen, Escape back to the main menu; then a match left through the leave
# question, and one ended through the exit question (the program ends);
# then a local network room left through the leave question, and one left
# with its Cancel. (A skirmish room played to its end is journey_skirmish.)
#
#   run_match.sh KORVOUI SOURCE_DIR WORK_DIR
# Exit 77 (skipped) without xvfb-run.
set -u
fail() { echo "FAIL: $*"; exit 1; }
korvoui=$1 src=$2 work=$3
command -v xvfb-run >/dev/null 2>&1 || { echo "SKIP: xvfb-run is not installed"; exit 77; }
rm -rf "$work" && mkdir -p "$work" && cd "$work" || fail "cannot make $work"

play() {
  name=$1
  shift
  # Leak checks off for the SDL process, as in run_play.sh.
  ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0" \
  SDL_AUDIODRIVER=dummy timeout 240 xvfb-run -a "$korvoui" play --no-lan --profile profile \
    --screen 640x480 "$@" --events "$src/match/$name.events" >"$name.out" 2>"$name.err"
  rc=$?
  [ $rc -eq 0 ] || fail "$name: play exited $rc: $(cat "$name.err")"
  diff -u "$src/match/$name.expected" "$name.out" || fail "$name: output differs"
}
play match_over --match deathmatch --frags 2 --seed 3
play match_leave --match team-death-match --time 5 --bots 3
play match_exit --match deathmatch --frags 20
play room_lan_leave
play room_cancel
echo "ok"
