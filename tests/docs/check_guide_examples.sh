#!/usr/bin/env bash
# The dialogs the UI authors' guide gives to copy pass `korvoui check` without
# a finding: the first dialog of section 1 and the house-style box, which also
# renders over a copy of the shipped root with every texture found.
#
#   check_guide_examples.sh KORVOUI SOURCE_DIR WORK_DIR
set -euo pipefail
korvoui=$1 source=$2 work=$3
guide=$source/docs/ui-authors.md
fail() { echo "FAIL: $*" >&2; exit 1; }

rm -rf "$work" && mkdir -p "$work"
# The first fenced block after a line matching $1.
block() {
  awk -v start="$1" '
    found == 0 && $0 ~ start { found = 1; next }
    found == 1 && /^```/ { found = 2; next }
    found == 2 && /^```/ { exit }
    found == 2 { print }' "$guide"
}
block '^## 1\. A first dialog' > "$work/hello.ui"
block '^<!-- house-style example -->' > "$work/house.ui"
for ui in hello house; do
  grep -q '^DIALOG' "$work/$ui.ui" || fail "no dialog found for $ui in the guide"
  out=$(cd "$work" && "$korvoui" check "$ui.ui") || fail "$ui: check exited $?:
$out"
  case $out in
  *error*|*warning*) fail "$ui: $out" ;;
  esac
done
cp -r "$source/assets" "$work/root"
cat "$work/house.ui" >> "$work/root/data/script/ui/ui_script.txt"
out=$("$korvoui" render --root "$work/root" NOTEMENU -o "$work/house.png") || fail "render: $out"
case $out in
*", 0 missing textures") ;;
*) fail "render: $out" ;;
esac
echo "guide examples: check clean, the house-style box renders"
