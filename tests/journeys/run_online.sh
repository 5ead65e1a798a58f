#!/bin/sh
# The online journey: a korvo-lobbyd of the test's own on 127.0.0.1 (a free
# port, a temporary database) and two windows of `korvoui play` under Xvfb,
# each driven by its events script of online/: they register, log in and chat
# in the lobby, one creates a game and the other joins it from the list, both
# chat in the room, the creator starts, both play the match to its end and are
# back in the room; the creator leaves and the game is gone from the other's
# list. Each window's printed lines are compared with online/NAME.expected,
# the seconds of the match's end line written as N: the joiner's window ends
# when the server's match does, whatever its own clock counted by then.
#
#   run_online.sh KORVOUI KORVO_LOBBYD SOURCE_DIR WORK_DIR
# Exit 77 (skipped) without xvfb-run.
set -u
fail() { echo "FAIL: $*"; exit 1; }
korvoui=$1 lobbyd=$2 src=$3/online work=$4
command -v xvfb-run >/dev/null 2>&1 || { echo "SKIP: xvfb-run is not installed"; exit 77; }
rm -rf "$work" && mkdir -p "$work" && cd "$work" || fail "cannot make $work"

"$lobbyd" --db "$work/lobby.db" --port 0 --bind 127.0.0.1 --hash-cost minimum >lobbyd.out 2>lobbyd.err &
server=$!
trap 'kill "$server" 2>/dev/null; wait "$server" 2>/dev/null' EXIT
port=
tries=0
while [ -z "$port" ] && [ $tries -lt 100 ]; do
  port=$(sed -n 's/^korvo-lobbyd listening on 127\.0\.0\.1:\([0-9][0-9]*\).*/\1/p' lobbyd.out 2>/dev/null)
  [ -n "$port" ] && break
  kill -0 "$server" 2>/dev/null || fail "korvo-lobbyd ended: $(cat lobbyd.err)"
  tries=$((tries + 1))
  sleep 0.1
done
[ -n "$port" ] || fail "korvo-lobbyd did not say where it listens within 10 s: $(cat lobbyd.out lobbyd.err)"

play() {
  # Leak checks off for the SDL process, as in run_play.sh.
  ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0" \
  SDL_AUDIODRIVER=dummy timeout 600 xvfb-run -a "$korvoui" play --no-lan --profile "$1" \
    --lobby "127.0.0.1:$port" --screen 640x480 --events "$src/$1.events" >"$1.out" 2>"$1.err"
  echo $? >"$1.rc"
}
play ace &
ace=$!
play bob
wait $ace
for side in ace bob; do
  rc=$(cat "$side.rc")
  [ "$rc" -eq 0 ] || fail "$side: play exited $rc: $(cat "$side.err")"
  sed -E 's/^(match: over \([a-z]+\) after )[0-9]+ s,/\1N s,/' "$side.out" >"$side.seen"
  diff -u "$src/$side.expected" "$side.seen" || fail "$side: output differs"
done
echo "ok"
