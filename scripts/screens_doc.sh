#!/usr/bin/env bash
# Renders every screen of scripts/screens.list with `korvoui render` into
# OUT/screens/*.png and writes OUT/screens.md (a heading, the description and
# the picture of each screen). OUT defaults to docs/. The pictures are 1024x768,
# reduced to a palette with pngquant when it is installed.
#
#   bash scripts/screens_doc.sh [OUT]     (KORVOUI=path picks the korvoui binary,
#                                          default build/release/tools/korvoui)
# Exits 1 when a screen does not render; the others are still written.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
out="${1:-$root/docs}"
korvoui="${KORVOUI:-$root/build/release/tools/korvoui}"
list="$root/scripts/screens.list"
script="$root/assets/data/script/ui/ui_script.txt"
size=1024x768

if [ ! -x "$korvoui" ]; then
  echo "screens_doc: no korvoui at $korvoui (cmake --build --preset release, or set KORVOUI)" >&2
  exit 2
fi
mkdir -p "$out/screens"
rm -f "$out/screens/"*.png

# The caption of a dialog in the UI script (DIALOG "Caption" ID ...).
caption() {
  sed -n "s/^DIALOG \"\\([^\"]*\\)\" $1 .*/\\1/p" "$script" | head -n 1
}

failed=0
{
  echo "# Screens"
  echo
  echo "Every screen of the shipped UI script (\`assets/data/script/ui/ui_script.txt\`), drawn by"
  echo "\`korvoui render --screen $size\` over the shipped assets, without a profile. Made by"
  echo "\`scripts/screens_doc.sh\` from \`scripts/screens.list\` (the list of the demo's tour);"
  echo "run it again after changing either."
  while IFS= read -r line; do
    args="${line%% | *}"
    text=""
    [ "$args" != "$line" ] && text="${line#* | }"
    first="${args%% *}"
    [ -n "$text" ] || text="$(caption "$first")."
    name=$(echo "$args" | sed 's/--//g' | tr ' ' '+' | tr '[:upper:]' '[:lower:]' | tr -c 'a-z0-9+_.\n-' '_')
    png="$out/screens/$name.png"
    # shellcheck disable=SC2086
    if ! "$korvoui" render --screen "$size" $args -o "$png" </dev/null >"$out/screens/$name.log" 2>&1; then
      echo "screens_doc: $args does not render:" >&2
      sed 's/^/  /' "$out/screens/$name.log" >&2
      failed=1
    elif command -v pngquant >/dev/null; then
      pngquant --quality 60-90 --speed 1 --strip --force --output "$png" "$png"
    fi
    rm -f "$out/screens/$name.log"
    echo
    echo "## $args"
    echo
    echo "$text"
    echo
    echo "![$args](screens/$name.png)"
  done < <(sed -e '/^#/d' -e '/^[[:space:]]*$/d' "$list")
} >"$out/screens.md"

[ "$failed" -eq 0 ] || exit 1
echo "wrote $out/screens.md and $(find "$out/screens" -name '*.png' | wc -l) pictures" \
     "($(du -sh "$out/screens" | cut -f1))"
