#!/bin/sh
# The tests of `korvoui play`: runs of its --events scripts under a virtual X
# server on a fresh profile ("profile" in WORK_DIR), their printed lines
# compared with the expected ones. Exit 77 (skipped) without xvfb-run.
#
#   run_play.sh no-display KORVOUI: without a display play exits 1 and points
#     to `korvoui render`.
#   run_play.sh TEST KORVOUI WORK_DIR [TOOL], TEST one of:
#   xvfb         the runs of tools/play on a copy of a small root (SDL input,
#                a broken and a fixed reload of the script); screenshots of the
#                error overlay and the inspector read back with TOOL, png_probe.
#   online       choosing online play starts play's own lobby server, whose
#                login screen opens; it no longer listens once play has ended.
#                With SDL's own choice of audio driver, where no sound device
#                is found, standard error gets one line about it and no noise
#                of the audio library.
#   match        the runs of tools/match (matches of `play --match`, rooms).
#   room-pair    tools/room: one window hosts a local network room, one joins.
#   journey:NAME the runs of journeys/NAME: a player's way through the game.
#   lobby-pair   two windows of journeys/online against TOOL, a korvo-lobbyd
#                of the test's own on 127.0.0.1 (a free port, a new database).
#
# A test of several runs on one profile runs NAME.events, NAME.2.events, ... as
# long as they exist; their outputs together must equal NAME.expected. A line
# "# play: OPTIONS" in an events file adds options to its run. Lines from
# "#for NAME WORD..." to "#end" stand for themselves once per WORD, {NAME}
# replaced by it; "#use FILE NAME=WORD..." for the lines of FILE (beside the
# events file), {NAME} replaced by WORD.
set -u
fail() { echo "FAIL: $*"; exit 1; }
test=$1 korvoui=$2
here=$(cd "$(dirname "$0")" && pwd)
if [ "$test" = no-display ]; then
  out=$(env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER timeout 30 "$korvoui" play \
        --root "$here/small_root" 2>&1)
  [ $? -eq 1 ] || fail "play did not exit 1: $out"
  echo "$out" | grep -q "no display.*korvoui render" || fail "message: $out"
  echo "ok" && exit 0
fi
work=$3 tool=${4:-}
command -v xvfb-run >/dev/null 2>&1 || { echo "SKIP: xvfb-run is not installed"; exit 77; }
rm -rf "$work" && mkdir -p "$work" && cd "$work" || fail "cannot make $work"
audio=SDL_AUDIODRIVER=dummy profile=profile

# The events file $1 with its #for blocks and #use lines written out.
expand() {
  awk -v dir="$(dirname "$1")" 'function subst(t, from, to,   out, i) {
         out = ""
         while ((i = index(t, from)) > 0) { out = out substr(t, 1, i - 1) to; t = substr(t, i + length(from)) }
         return out t
       }
       /^#for / { key = "{" $2 "}"; n = 0; for (i = 3; i <= NF; i++) words[++n] = $i; body = ""; inside = 1; next }
       inside && /^#end$/ { for (i = 1; i <= n; i++) printf "%s", subst(body, key, words[i]); inside = 0; next }
       inside { body = body $0 "\n"; next }
       /^#use / {
         while ((getline line < (dir "/" $2)) > 0) {
           for (i = 3; i <= NF; i++) { split($i, kv, "="); line = subst(line, "{" kv[1] "}", kv[2]) }
           print line
         }
         close(dir "/" $2)
         next
       }
       { print }' "$1"
}

# play EVENTS OUT [OPTION...]: one run on EVENTS into OUT.out and OUT.err.
play() {
  events=$1 out=$2
  shift 2
  expand "$events" >"$out.expanded"
  # Under AddressSanitizer leak checks stay off for this process: SDL's D-Bus
  # and X11 libraries keep allocations past SDL_Quit and are unloaded by then,
  # so the reports cannot be told apart from ours (the unit tests check ours).
  # shellcheck disable=SC2046,SC2086
  env $audio ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0" timeout 600 \
    xvfb-run -a "$korvoui" play --no-lan --profile "$profile" --screen 640x480 "$@" \
    $(sed -n 's/^# play: //p' "$events") --events "$out.expanded" >"$out.out" 2>"$out.err"
  rc=$?
  [ $rc -eq 0 ] || fail "$out: play exited $rc: $(cat "$out.err")
output:
$(cat "$out.out")"
}

# runs DIR NAME [OPTION...]: NAME.events, NAME.2.events, ... in turn.
runs() {
  dir=$1 name=$2 n=1
  shift 2
  events=$dir/$name.events
  : >all.out
  while [ -f "$events" ]; do
    play "$events" "$name.$n" "$@"
    cat "$name.$n.out" >>all.out
    n=$((n + 1)) events=$dir/$name.$n.events
  done
  diff -u "$dir/$name.expected" all.out || fail "$name: output differs"
}

# pair DIR A B [OPTION...]: A's run and B's at once, each on a profile named
# as it, B's from A's first printed line (60 s at most); each output, seconds
# of a match's end written as N when $seconds says so, must equal its
# expected file.
pair() {
  dir=$1 a=$2 b=$3
  shift 3
  (profile=$a && play "$dir/$a.events" "$a" "$@") &
  first=$!
  tries=0
  while [ ! -s "$a.out" ] && [ $tries -lt 600 ] && kill -0 $first 2>/dev/null; do
    tries=$((tries + 1)) && sleep 0.1
  done
  (profile=$b && play "$dir/$b.events" "$b" "$@") || exit 1
  wait $first || exit 1
  for side in $a $b; do
    sed -E "${seconds:-}" "$side.out" >"$side.seen"
    diff -u "$dir/$side.expected" "$side.seen" || fail "$side: output differs"
  done
}

case $test in
xvfb)
  cp -R "$here/small_root" root && cp "$here"/play/*.ui . || fail "cannot copy the test root"
  runs "$here/play" play --root root
  # The error overlay lies at the bottom left, the top of the frame clear; the
  # inspector at the top left, the bottom clear.
  "$tool" broken.png 101014 0 0 640 200 8 400 200 40 >probe.out
  "$tool" fixed.png 101014 8 8 100 40 0 300 640 180 >>probe.out
  printf '%s\n' "size 640x480" "rect 0 0 640 200: 0 differ" "rect 8 400 200 40: 8000 differ" \
    "size 640x480" "rect 8 8 100 40: 4000 differ" "rect 0 300 640 180: 0 differ" | diff -u - probe.out ||
    fail "screenshots differ"
  ;;
online)
  printf '%s\n' "frames 2" "clickon MAINMENU IDC_BUTTON_MAINMULTIPALY" "frames 2" \
    "clickon MULTIPLAYSELECTMENU IDC_BUTTON_MULTIPLAYSELECTKORVONET" "frames 3" "print open" "quit" >online.events
  audio="-u SDL_AUDIODRIVER"
  play online.events online
  grep -q "^open: LOGINMENU" online.out || fail "no login screen: $(cat online.out online.err)"
  if grep -q "ALSA lib" online.err; then fail "audio library noise on standard error: $(cat online.err)"; fi
  [ "$(grep -c "sound" online.err)" -le 1 ] || fail "more than one line about sound: $(cat online.err)"
  port=$(sed -n 's/.*korvo-lobbyd of its own at 127.0.0.1:\([0-9]*\).*/\1/p' online.err)
  [ -n "$port" ] || fail "no line about the lobby server: $(cat online.err)"
  if command -v ss >/dev/null 2>&1 && ss -ltn | grep -q "127.0.0.1:$port "; then
    fail "the lobby server still listens on $port"
  fi
  ;;
match) runs "$here/match" match ;;
room-pair) pair "$here/room" host client ;;
journey:*) runs "$here/../journeys" "${test#journey:}" ;;
lobby-pair)
  "$tool" --db "$work/lobby.db" --port 0 --bind 127.0.0.1 --hash-cost minimum >lobbyd.out 2>lobbyd.err &
  server=$!
  trap 'kill "$server" 2>/dev/null; wait "$server" 2>/dev/null' EXIT
  port= tries=0
  while [ -z "$port" ] && [ $tries -lt 100 ] && kill -0 "$server" 2>/dev/null; do
    port=$(sed -n 's/^korvo-lobbyd listening on 127\.0\.0\.1:\([0-9][0-9]*\).*/\1/p' lobbyd.out 2>/dev/null)
    tries=$((tries + 1)) && sleep 0.1
  done
  [ -n "$port" ] || fail "korvo-lobbyd did not say where it listens: $(cat lobbyd.out lobbyd.err)"
  # The joiner's window ends when the server's match does, whatever its own
  # clock counted by then.
  seconds='s/^(match: over \([a-z]+\) after )[0-9]+ s,/\1N s,/'
  pair "$here/../journeys/online" ace bob --lobby "127.0.0.1:$port"
  ;;
*) fail "unknown test $test" ;;
esac
echo "ok"
