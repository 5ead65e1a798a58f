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
for screens in "MAINMENU" "MAINMENU SCRIPTCONSOLE" "MAINMENU MBOX_OK" "DEMOPLAY" \
               "SELECTIDMENU" "SELECTIDMENU SELECTIDNEWIDMENU" "SELECTMISSIONMENU" "OBJECTIVE" \
               "SINGLEPLAYESC" "SINGLEPLAYSURRENDER" "SINGLEPLAYMISSIONOBJECTIVE" "STATISTICSMENU" \
               "MISSIONFAILEDMENU" "MISSIONENDINGMENU" \
               "OPTIONMENU" "OPTIONGRAPHIC" "OPTIONCONTROLS" "OPTIONSOUND" "OPTIONNETWORK" \
               "OPTIONMACROMENU" \
               "MULTIPLAYSELECTMENU" "SERVERMENU" "CREATEMENU" "CREATEMENU DEATHMATCH" "ROOMMENU" \
               "LOGINMENU" "NEWIDMENU" "CHANGEPASSMENU" "KORVONETMENU" "CREATECHANNEL" "JOINMENU" \
               "GAMELOADING" "MISSIONLOADING" "PLAYINTERFACE PLAYCHAT" "PLAYTAB" "MULTIPLAYGAMEOVER" \
               "MULTIPLAYESC" "LEAVEGAME" "EXITGAME" "GALLERY" \
               "--match deathmatch --at 28000" "--match deathmatch --at 28000 PLAYTAB" \
               "--match team-death-match --frags 6 --at 600000"; do
  name=$(echo "$screens" | tr ' ' '+' | tr '[:upper:]' '[:lower:]')
  # shellcheck disable=SC2086
  "$korvoui" render $screens -o "$out/$name.png"
done
echo "The tour is in $out/ — open the PNG files to look at the screens."
