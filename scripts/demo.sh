#!/usr/bin/env bash
# Sets up, builds, and runs the menus on the shipped assets: in a window when
# there is a display (`korvoui play`), otherwise as a tour of the screens
# rendered to PNG files (`korvoui render`).
#
# In a window, online play goes to a korvo-lobbyd of the demo's own on
# 127.0.0.1 (a free port, its database in a temporary folder), stopped when
# the demo ends. `--second-window` opens a second window with its own profile
# folder (out/second-profile), both on this machine only (`--no-lan`): one
# window creates a local-network game or an online game, the other joins it.
# Other arguments go to `korvoui play`.
set -euo pipefail
cd "$(dirname "$0")/.."

second_window=0
play_args=()
for arg in "$@"; do
  if [ "$arg" = "--second-window" ]; then second_window=1; else play_args+=("$arg"); fi
done

bash scripts/setup.sh
cmake --preset release >/dev/null
cmake --build --preset release
korvoui=build/release/tools/korvoui
lobbyd=build/release/lobbyd/korvo-lobbyd

if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  work=$(mktemp -d)
  pids=()
  # shellcheck disable=SC2317  # run by the EXIT trap
  stop_all() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null || true; done
    rm -rf "$work"
  }
  trap stop_all EXIT
  trap 'exit 130' INT TERM

  "$lobbyd" --db "$work/lobby.db" --port 0 --bind 127.0.0.1 >"$work/lobbyd.log" 2>&1 &
  pids+=("$!")
  port=""
  for _ in $(seq 50); do
    port=$(sed -n 's/^korvo-lobbyd listening on .*:\([0-9]*\)$/\1/p' "$work/lobbyd.log")
    [ -n "$port" ] && break
    sleep 0.1
  done
  lobby=()
  if [ -n "$port" ]; then
    lobby=(--lobby "127.0.0.1:$port")
    echo "Online play: korvo-lobbyd on 127.0.0.1:$port for this demo (new ids are kept until it ends)."
  else
    echo "korvo-lobbyd did not start; online play will say that the lobby server cannot be reached:"
    cat "$work/lobbyd.log"
  fi

  if [ "$second_window" = 1 ]; then
    mkdir -p out
    "$korvoui" play --no-lan --profile out/second-profile "${lobby[@]}" "${play_args[@]}" &
    pids+=("$!")
    play_args=(--no-lan "${play_args[@]}")
  fi
  # The first window ends the demo; waiting in the background lets the traps
  # run at once on Ctrl-C or a TERM, which stop every process started here.
  "$korvoui" play "${lobby[@]}" "${play_args[@]}" &
  main_window=$!
  pids+=("$main_window")
  status=0
  wait "$main_window" || status=$?
  exit "$status"
fi

echo "No display: rendering a tour of the screens instead (korvoui play needs a window)."
out=out/tour
mkdir -p "$out"
# The screens of the tour: the `korvoui render` arguments of scripts/screens.list.
while IFS= read -r screens; do
  name=$(echo "$screens" | sed 's/--//g' | tr ' ' '+' | tr '[:upper:]' '[:lower:]')
  # shellcheck disable=SC2086
  "$korvoui" render $screens -o "$out/$name.png" </dev/null
done < <(sed -e '/^#/d' -e '/^[[:space:]]*$/d' -e 's/ | .*//' scripts/screens.list)
echo "The tour is in $out/ — open the PNG files to look at the screens."
