#!/usr/bin/env bash
# The lobby's load run at full size (not a test): 400 clients against one
# korvo-lobbyd on SQLite, then against two nodes on one PostgreSQL (half the
# clients on each, node 1 killed half-way). Needs a release build.
#   [BUILD=build/release] bash bench/lobby_nodes.sh [extra lobbyd_load options]
set -euo pipefail
build="${BUILD:-build/release}"
exec "$build/lobbyd/lobbyd_load" --clients 400 --channels 5 --lines 20 --hash-cost minimum "$@"
