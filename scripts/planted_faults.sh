#!/usr/bin/env bash
# planted_faults.sh: plants each recorded fault in turn, rebuilds, runs the
# tests and reports whether they caught it and which tests failed; then puts
# the source back. A fault is a file scripts/planted_faults/NN-name.fault:
#   # what goes wrong
#   file PATH            source file, relative to the repository root
#   from TEXT            text that stands exactly once in the file ...
#   to   TEXT            ... and what it becomes (pairs apply in order)
#
# Usage: scripts/planted_faults.sh [-p PRESET] [-j N] [-R REGEX] [-E REGEX] [FAULT...]
#   -p PRESET   build and test preset (default release)
#   -j N        tests run in parallel (default 2)
#   -R, -E      passed to ctest: run a subset of the tests (default: all)
#   FAULT       fault files or their NN prefixes (default: all of them)
# Exit status: 0 when every fault was caught, 1 otherwise, 2 on a bad fault.
set -uo pipefail

cd "$(dirname "$0")/.."
root=$(pwd)
dir=$root/scripts/planted_faults
preset=release
jobs=2
ctest_args=()
picked=()
while [ $# -gt 0 ]; do
  case "$1" in
    -p) preset=$2; shift 2 ;;
    -j) jobs=$2; shift 2 ;;
    -R|-E) ctest_args+=("$1" "$2"); shift 2 ;;
    *) picked+=("$1"); shift ;;
  esac
done

faults=()
if [ ${#picked[@]} -eq 0 ]; then
  faults=("$dir"/*.fault)
else
  for p in "${picked[@]}"; do
    if [ -f "$p" ]; then faults+=("$p"); else faults+=("$dir/$p"*.fault); fi
  done
fi

export CCACHE_BASEDIR=${CCACHE_BASEDIR:-/work} CCACHE_NOHASHDIR=1
export CMAKE_CXX_COMPILER_LAUNCHER=ccache CMAKE_C_COMPILER_LAUNCHER=ccache
build=$root/build/$preset
failed_log=$build/Testing/Temporary/LastTestsFailed.log
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Applies the from/to pairs of fault $1 to a copy of its file; prints the path.
plant() {
  python3 - "$1" "$root" <<'PY'
import sys
fault, root = sys.argv[1], sys.argv[2]
path, pairs, src = None, [], None
for line in open(fault, encoding="utf-8"):
    line = line.rstrip("\n")
    word, _, rest = line.partition(" ")
    if word == "file": path = rest.strip()
    elif word == "from": src = rest.strip()
    elif word == "to": pairs.append((src, rest.strip()))
if not path or not pairs: sys.exit(f"{fault}: needs a file line and from/to pairs")
text = open(f"{root}/{path}", encoding="utf-8").read()
for a, b in pairs:
    if text.count(a) != 1: sys.exit(f"{fault}: '{a}' stands {text.count(a)} times in {path}")
    text = text.replace(a, b)
open(f"{root}/{path}", "w", encoding="utf-8").write(text)
print(path)
PY
}

# A fault counts as caught by a failing build only when the build passes without it.
if ! { cmake --preset "$preset" && cmake --build --preset "$preset"; } >"$work/build.log" 2>&1; then
  echo "planted_faults: the build fails without any fault planted:" >&2
  tail -20 "$work/build.log" >&2
  exit 2
fi

missed=0
printf '%-28s %-10s %s\n' FAULT RESULT "CATCHING TESTS"
for fault in "${faults[@]}"; do
  name=$(basename "$fault" .fault)
  file=$(sed -n 's/^file //p' "$fault")
  cp -p "$root/$file" "$work/original" || exit 2
  if ! plant "$fault" >/dev/null; then cp -p "$work/original" "$root/$file"; exit 2; fi
  if ! cmake --build --preset "$preset" >"$work/build.log" 2>&1; then
    result="caught" caught="build fails"
  else
    rm -f "$failed_log"
    ctest --preset "$preset" -j"$jobs" "${ctest_args[@]}" >"$work/ctest.log" 2>&1
    if [ -s "$failed_log" ]; then
      result="caught" caught=$(cut -d: -f2- "$failed_log" | tr '\n' ' ')
    else
      result="MISSED" caught="-"
      missed=1
    fi
  fi
  cp -p "$work/original" "$root/$file"
  touch "$root/$file"
  printf '%-28s %-10s %s\n' "$name" "$result" "$caught"
done
# Leave the build matching the sources.
cmake --build --preset "$preset" >/dev/null 2>&1
exit $missed
