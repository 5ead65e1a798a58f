#!/usr/bin/env bash
# Sets up, builds the release and the sanitizer (ASan + UBSan) configurations,
# and runs every unit test and session script on both.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
for preset in release asan; do
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
  ctest --preset "$preset" -j2
done
