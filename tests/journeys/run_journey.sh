#!/bin/sh
# A journey: `korvoui play --events NAME.events` under a virtual X server on
# the shipped assets, with a fresh profile in a temporary folder; its standard
# output must equal NAME.expected. Every wait in an events script is on a
# dialog or a caption, bounded in time.
#
#   run_journey.sh KORVOUI JOURNEY_DIR NAME [PLAY_OPTION...]
# Exit 77 (skipped) without xvfb-run.
set -u
fail() { echo "FAIL: $*"; exit 1; }
korvoui=$1 dir=$2 name=$3
shift 3
command -v xvfb-run >/dev/null 2>&1 || { echo "SKIP: xvfb-run is not installed"; exit 77; }
work=$(mktemp -d "${TMPDIR:-/tmp}/journey_$name.XXXXXX") || fail "no temporary folder"
trap 'rm -rf "$work"' EXIT
cd "$work" || fail "cannot enter $work"

# Leak checks off for the SDL process, as in the other play tests.
ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0" \
SDL_AUDIODRIVER=dummy timeout 420 xvfb-run -a "$korvoui" play --no-lan --profile "$work/profile" \
  --screen 640x480 "$@" --events "$dir/$name.events" >"$name.out" 2>"$name.err"
rc=$?
[ $rc -eq 0 ] || fail "$name: play exited $rc: $(cat "$name.err")"
diff -u "$dir/$name.expected" "$name.out" || fail "$name: output differs"
echo "ok"
