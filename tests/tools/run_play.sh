#!/bin/sh
# Tests of `korvoui play`.
#
#   run_play.sh no-display KORVOUI SOURCE_DIR
#     without a display it exits 1 and points to `korvoui render`.
#   run_play.sh xvfb KORVOUI PNG_PROBE SOURCE_DIR WORK_DIR
#     under a virtual X server: input through SDL events, a broken and a fixed
#     reload of the script (in a copy of a small root), the module state printed
#     along the way, and screenshots of the error overlay and the inspector.
#     Exit 77 (skipped) without xvfb-run.
#   run_play.sh quiet-audio KORVOUI WORK_DIR
#     under a virtual X server with SDL's own choice of audio driver: a click
#     plays its sound; where no sound device is found, standard error gets one
#     line about it and no noise of the audio library. Exit 77 without xvfb-run.
#   run_play.sh online KORVOUI WORK_DIR
#     under a virtual X server: choosing online play starts play's own lobby
#     server, whose login screen opens; the server and its folder are gone
#     when play ends. Exit 77 without xvfb-run.
set -u
fail() { echo "FAIL: $*"; exit 1; }

if [ "$1" = online ]; then
  korvoui=$2 work=$3
  command -v xvfb-run >/dev/null 2>&1 || { echo "SKIP: xvfb-run is not installed"; exit 77; }
  rm -rf "$work" && mkdir -p "$work" && cd "$work" || fail "cannot make $work"
  printf '%s\n' "frames 2" "clickon MAINMENU IDC_BUTTON_MAINMULTIPALY" "frames 2" \
    "clickon MULTIPLAYSELECTMENU IDC_BUTTON_MULTIPLAYSELECTKORVONET" "frames 3" "print open" "quit" >online.events
  ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0" SDL_AUDIODRIVER=dummy \
    timeout 120 xvfb-run -a "$korvoui" play --no-lan --profile profile --screen 640x480 \
    --events online.events >online.out 2>online.err
  rc=$?
  [ $rc -eq 0 ] || fail "play exited $rc: $(cat online.err)"
  grep -q "^open: LOGINMENU" online.out || fail "no login screen: $(cat online.out) $(cat online.err)"
  port=$(sed -n 's/.*korvo-lobbyd of its own at 127.0.0.1:\([0-9]*\).*/\1/p' online.err)
  [ -n "$port" ] || fail "no line about the lobby server: $(cat online.err)"
  if command -v ss >/dev/null 2>&1 && ss -ltn | grep -q "127.0.0.1:$port "; then
    fail "the lobby server still listens on $port"
  fi
  echo "ok"
  exit 0
fi

if [ "$1" = quiet-audio ]; then
  korvoui=$2 work=$3
  command -v xvfb-run >/dev/null 2>&1 || { echo "SKIP: xvfb-run is not installed"; exit 77; }
  rm -rf "$work" && mkdir -p "$work" && cd "$work" || fail "cannot make $work"
  printf 'frames 2\nclickon MAINMENU IDC_BUTTON_MAINOPTION\nframes 2\nprint open\nquit\n' >quiet.events
  env -u SDL_AUDIODRIVER ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0" \
    timeout 120 xvfb-run -a "$korvoui" play --no-lan --profile profile --screen 640x480 \
    --events quiet.events >quiet.out 2>quiet.err
  rc=$?
  [ $rc -eq 0 ] || fail "play exited $rc: $(cat quiet.err)"
  grep -q "OPTIONMENU" quiet.out || fail "the click did not reach the menus: $(cat quiet.out)"
  if grep -q "ALSA lib" quiet.err; then fail "audio library noise on standard error: $(cat quiet.err)"; fi
  [ "$(grep -c "sound" quiet.err)" -le 1 ] || fail "more than one line about sound: $(cat quiet.err)"
  echo "ok"
  exit 0
fi

if [ "$1" = no-display ]; then
  out=$(env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER timeout 30 "$2" play --root "$3/small_root" 2>&1)
  rc=$?
  [ $rc -eq 1 ] || fail "play exited $rc: $out"
  echo "$out" | grep -q "no display.*korvoui render" || fail "message: $out"
  echo "ok"
  exit 0
fi
korvoui=$2 probe=$3 src=$4 work=$5
command -v xvfb-run >/dev/null 2>&1 || { echo "SKIP: xvfb-run is not installed"; exit 77; }

rm -rf "$work" && mkdir -p "$work" || fail "cannot make $work"
cp -R "$src/small_root" "$work/root" && cp "$src"/play/* "$work/" || fail "cannot copy the test root"
cd "$work" || fail "cannot enter $work"
# Under AddressSanitizer leak checks stay off for this process: SDL's D-Bus and
# X11 libraries keep allocations past SDL_Quit and are unloaded by then, so the
# reports cannot be told apart from ours (the unit tests check our leaks).
ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0" \
SDL_AUDIODRIVER=dummy timeout 120 xvfb-run -a "$korvoui" play --no-lan --root root --profile profile --screen 640x480 \
  --events play.events >play.out 2>play.err
rc=$?
[ $rc -eq 0 ] || fail "play exited $rc: $(cat play.err)"
diff -u play.expected play.out || fail "output differs"

# The error overlay lies at the bottom left; the top of the frame is clear.
facts=$("$probe" broken.png 101014 0 0 640 200 8 400 200 40)
expected="size 640x480
rect 0 0 640 200: 0 differ
rect 8 400 200 40: 8000 differ"
[ "$facts" = "$expected" ] || fail "broken.png:
$facts
expected:
$expected"
# The inspector is at the top left; the bottom is clear.
facts=$("$probe" fixed.png 101014 8 8 100 40 0 300 640 180)
expected="size 640x480
rect 8 8 100 40: 4000 differ
rect 0 300 640 180: 0 differ"
[ "$facts" = "$expected" ] || fail "fixed.png:
$facts
expected:
$expected"
echo "ok"
