#!/bin/sh
# A player's journey through `korvoui play` under a virtual X server, over the
# shipped assets with a fresh profile folder.
#
#   run_journey.sh KORVOUI SOURCE_DIR WORK_DIR NAME
#
# The journey NAME is one or more runs of the program on the same profile:
# SOURCE_DIR/NAME.events, then NAME.2.events, NAME.3.events, ... as long as
# they exist. A line "# play: OPTIONS" in an events file adds those options
# to that run (e.g. "# play: --mission-speed 20"). Everything the runs print
# (the events' `print` lines, and the game's "mission: ..." / "match: ..."
# lines) is compared with SOURCE_DIR/NAME.expected. The profile folder is
# WORK_DIR/NAME/profile, so events can `print file profile/PILOT.pilot`.
# Exit 77 (skipped) without xvfb-run.
set -u
fail() { echo "FAIL: $*"; exit 1; }
[ $# -eq 4 ] || fail "usage: run_journey.sh KORVOUI SOURCE_DIR WORK_DIR NAME"
korvoui=$(cd "$(dirname "$1")" && pwd)/$(basename "$1") src=$(cd "$2" && pwd) work=$3/$4 name=$4
command -v xvfb-run >/dev/null 2>&1 || { echo "SKIP: xvfb-run is not installed"; exit 77; }
[ -f "$src/$name.events" ] || fail "no $src/$name.events"
rm -rf "$work" && mkdir -p "$work" && cd "$work" || fail "cannot make $work"

: >"$name.out"
run=1
events=$src/$name.events
while [ -f "$events" ]; do
  options=$(sed -n 's/^# play: //p' "$events")
  # Leak checks off for the SDL process, as in tests/tools/run_play.sh.
  # shellcheck disable=SC2086
  ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0" \
  SDL_AUDIODRIVER=dummy timeout 150 xvfb-run -a "$korvoui" play --no-lan --profile profile \
    --screen 640x480 $options --events "$events" >"run$run.out" 2>"run$run.err"
  rc=$?
  cat "run$run.out" >>"$name.out"
  [ $rc -eq 0 ] || fail "$name run $run: play exited $rc: $(cat "run$run.err")
output so far:
$(cat "$name.out")"
  run=$((run + 1))
  events=$src/$name.$run.events
done
diff -u "$src/$name.expected" "$name.out" || fail "$name: what the player saw differs"
echo "ok"
