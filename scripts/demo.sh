#!/usr/bin/env bash
# Sets up, builds, and runs the demo on the shipped assets.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake --preset release >/dev/null
cmake --build --preset release
exec build/release/tools/korvoui demo "$@"
