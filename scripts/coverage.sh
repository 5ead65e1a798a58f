#!/usr/bin/env bash
# coverage.sh: which lines of the project the test suite runs, per source file
# and per folder, from a gcov build (preset "coverage"). Used to check that
# regrouping or trimming tests leaves the code they exercise exercised.
#
# Usage: scripts/coverage.sh [--no-run] [-j N] [-R REGEX] [-E REGEX] [-o FILE]
#   --no-run   summarise the counts already in build/coverage
#   -j N       tests run in parallel (default 2)
#   -R, -E     passed to ctest: measure a subset of the tests
#   -o FILE    the per-file table (default build/coverage/coverage.tsv):
#              "path<TAB>lines<TAB>covered", one row per source file
# Compare two tables with scripts/coverage_diff.py OLD NEW.
set -euo pipefail

cd "$(dirname "$0")/.."
root=$(pwd)
build=$root/build/coverage
run=1
jobs=2
out=$build/coverage.tsv
ctest_args=()
while [ $# -gt 0 ]; do
  case "$1" in
    --no-run) run=0; shift ;;
    -j) jobs=$2; shift 2 ;;
    -R|-E) ctest_args+=("$1" "$2"); shift 2 ;;
    -o) out=$2; shift 2 ;;
    *) echo "coverage.sh: unknown argument $1" >&2; exit 2 ;;
  esac
done

if [ $run = 1 ]; then
  cmake --preset coverage >/dev/null
  cmake --build --preset coverage
  find "$build" -name '*.gcda' -delete
  # Failing tests still count their lines; the table is what matters here.
  ctest --preset coverage -j "$jobs" "${ctest_args[@]}" || true
fi

# gcov writes one JSON document per object; lines are merged across objects
# (a header's line counts as run when any object that includes it ran it).
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
find "$build" -name '*.gcda' -printf '%h\n' | sort -u | while read -r dir; do
  (cd "$tmp" && gcov --json-format --stdout -o "$dir" "$dir"/*.gcda 2>/dev/null) >>"$tmp/all.jsonl" || true
done
python3 "$root/scripts/coverage_table.py" "$root" "$tmp/all.jsonl" >"$out"
echo "per-file table: $out"
awk -F'\t' '{ split($1, p, "/"); d = p[1]; lines[d] += $2; cov[d] += $3; tl += $2; tc += $3 }
  END { for (d in lines) printf "%-12s %6d / %6d  %5.1f%%\n", d, cov[d], lines[d], 100 * cov[d] / lines[d];
        printf "%-12s %6d / %6d  %5.1f%%\n", "all", tc, tl, 100 * tc / tl }' "$out" | sort
