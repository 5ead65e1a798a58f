#!/bin/sh
# Two windows of `korvoui play` on this machine (loopback only, --no-lan): one
# opens a local network team room with a bot, the other finds it in the game
# list, joins, picks its team and gets ready; the host starts, a chat line
# goes each way during the match, and both windows end it with the same
# winners and score table (the expected files hold the same lines).
#
#   run_room_pair.sh KORVOUI SOURCE_DIR WORK_DIR
# Exit 77 (skipped) without xvfb-run.
set -u
fail() { echo "FAIL: $*"; exit 1; }
korvoui=$1 src=$2 work=$3
command -v xvfb-run >/dev/null 2>&1 || { echo "SKIP: xvfb-run is not installed"; exit 77; }
rm -rf "$work" && mkdir -p "$work" && cd "$work" || fail "cannot make $work"

play() {
  # Leak checks off for the SDL process, as in run_play.sh.
  ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0" \
  SDL_AUDIODRIVER=dummy timeout 300 xvfb-run -a "$korvoui" play --no-lan --profile "$1" \
    --screen 640x480 --events "$src/room/$1.events" >"$1.out" 2>"$1.err"
  echo $? >"$1.rc"
}
play host &
host=$!
sleep 2
play client
wait $host
for side in host client; do
  rc=$(cat "$side.rc")
  [ "$rc" -eq 0 ] || fail "$side: play exited $rc: $(cat "$side.err")"
  diff -u "$src/room/$side.expected" "$side.out" || fail "$side: output differs"
done
echo "ok"
