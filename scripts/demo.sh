#!/usr/bin/env bash
# Sets up, builds, and runs the menus on the shipped assets: in a window when
# there is a display (`korvoui play`), otherwise as a tour of the screens
# rendered to PNG files (`korvoui render`).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake --preset release >/dev/null
cmake --build --preset release
korvoui=build/release/tools/korvoui

if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  exec "$korvoui" play "$@"
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
