#!/bin/sh
# A journey: `korvoui play --events NAME.events` under a virtual X server on
# the shipped assets, with a fresh profile in a temporary folder; its standard
# output must equal NAME.expected. Every wait in an events script is on a
# dialog or a caption, bounded in time.
#
#   run_journey.sh KORVOUI JOURNEY_DIR NAME [PLAY_OPTION...]
#
# A journey may go on over several runs of the program on the same profile:
# NAME.events, then NAME.2.events, NAME.3.events, ... as long as they exist;
# their outputs are compared together. A line "# play: OPTIONS" in an events
# file adds those options to its run (e.g. "# play: --mission-speed 20"), after
# the PLAY_OPTIONs given here. The profile folder is "profile" in the current
# folder of the runs, so events can `print file profile/PILOT.pilot`.
# Exit 77 (skipped) without xvfb-run.
set -u
fail() { echo "FAIL: $*"; exit 1; }
korvoui=$1 dir=$2 name=$3
shift 3
command -v xvfb-run >/dev/null 2>&1 || { echo "SKIP: xvfb-run is not installed"; exit 77; }
[ -f "$dir/$name.events" ] || fail "no $dir/$name.events"
work=$(mktemp -d "${TMPDIR:-/tmp}/journey_$name.XXXXXX") || fail "no temporary folder"
trap 'rm -rf "$work"' EXIT
cd "$work" || fail "cannot enter $work"

: >"$name.out"
run=1
events=$dir/$name.events
while [ -f "$events" ]; do
  options=$(sed -n 's/^# play: //p' "$events")
  # Leak checks off for the SDL process, as in the other play tests.
  # shellcheck disable=SC2086
  ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0" \
  SDL_AUDIODRIVER=dummy timeout 420 xvfb-run -a "$korvoui" play --no-lan --profile "$work/profile" \
    --screen 640x480 "$@" $options --events "$events" >"run$run.out" 2>"run$run.err"
  rc=$?
  cat "run$run.out" >>"$name.out"
  [ $rc -eq 0 ] || fail "$name run $run: play exited $rc: $(cat "run$run.err")
output so far:
$(cat "$name.out")"
  run=$((run + 1))
  events=$dir/$name.$run.events
done
diff -u "$dir/$name.expected" "$name.out" || fail "$name: output differs"
echo "ok"
