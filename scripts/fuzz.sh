#!/usr/bin/env bash
# Runs every libFuzzer target of build/fuzz (fuzz_compile, fuzz_input,
# fuzz_calls) for SECONDS (default 60) on a copy of its seed corpus
# (fuzz/corpus/NAME); a crash fails the run and leaves the reproducer in
# build/fuzz/artifacts/.
set -euo pipefail
cd "$(dirname "$0")/.."
SECONDS_EACH=${1:-60}
mkdir -p build/fuzz/artifacts
for target in build/fuzz/fuzz/fuzz_*; do
  [ -x "$target" ] || continue
  name=$(basename "$target")
  corpus=build/fuzz/corpus/${name#fuzz_}
  mkdir -p "$corpus"
  cp -n fuzz/corpus/${name#fuzz_}/* "$corpus"/ 2>/dev/null || true
  echo "== $name for ${SECONDS_EACH}s"
  "$target" "$corpus" -max_total_time="$SECONDS_EACH" -max_len=8192 -print_final_stats=1 \
    -artifact_prefix=build/fuzz/artifacts/ 2>&1 | tail -n 12
done
