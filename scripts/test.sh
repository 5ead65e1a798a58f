#!/usr/bin/env bash
# Sets up, builds the release and the sanitizer (ASan + UBSan) configurations
# and runs every unit test and session script on both; before that, a short
# run of each libFuzzer target (FUZZ_SECONDS each, default 20; 0 skips them).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh

FUZZ_SECONDS=${FUZZ_SECONDS:-20}
if [ "$FUZZ_SECONDS" -gt 0 ]; then
  cmake --preset fuzz >/dev/null
  cmake --build --preset fuzz
  bash scripts/fuzz.sh "$FUZZ_SECONDS"
fi

for preset in release asan; do
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
  ctest --preset "$preset" -j2
done
