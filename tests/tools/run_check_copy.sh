#!/bin/sh
# `korvoui check` on the shipped script finds nothing. On a copy of the root
# whose script has lint.ui (a control with each mistake an author makes) put
# at its end, `check --root` reports each mistake that it reports of lint.ui
# alone, with its place in the copy's script and the fix, and exits 1.
#
#   run_check_copy.sh KORVOUI SOURCE_DIR WORK_DIR
set -u
korvoui=$1 src=$2 work=$3
fail() { echo "FAIL: $*"; exit 1; }

out=$("$korvoui" check) || fail "the shipped script: exit $?:
$out"
case $out in
*error*|*warning*) fail "the shipped script is not clean:
$out" ;;
esac

rm -rf "$work" && mkdir -p "$work" && cp -r "$src/assets" "$work/root" || fail "copy"
script=$work/root/data/script/ui/ui_script.txt
lines=$(wc -l <"$script")
cat "$src/tests/tools/lint.ui" >>"$script"
"$korvoui" check --root "$work/root" >"$work/out"
rc=$?
[ $rc -eq 1 ] || fail "exit $rc, expected 1: $(cat "$work/out")"
# lint.ui's findings at their lines in the copy; the summary counts the copy's
# dialogs and controls, and the same mistakes.
awk -v script="$script" -v lines="$lines" '
  match($0, /^lint\.ui:[0-9]+:/) { $0 = script ":" (substr($0, 9, RLENGTH - 9) + lines) substr($0, RLENGTH) }
  /^lint\.ui: / { sub(/^lint\.ui: .* controls, /, script ": N dialogs, N controls, ") }
  { print }' "$src/tests/tools/lint.expected" >"$work/expected"
sed -E 's/^([^ ]*: )[0-9]+ dialogs, [0-9]+ controls, /\1N dialogs, N controls, /' "$work/out" |
  diff -u "$work/expected" - || fail "findings differ"
echo "check: shipped script clean, the mistakes of lint.ui in a copy reported"
