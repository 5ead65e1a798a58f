#!/usr/bin/env bash
# Writes docs/bound-ids.md (or OUT): the ids the game binds to classes of its
# own, what each does and which dialog of the shipped script declares it.
#
#   bash scripts/bound_ids_doc.sh [OUT]       (BOUND_IDS_DOC: the built generator)
set -euo pipefail
source=$(cd "$(dirname "$0")/.." && pwd)
out=${1:-$source/docs/bound-ids.md}
gen=${BOUND_IDS_DOC:-$source/build/release/tools/bound_ids_doc}
"$gen" "$source/assets" > "$out.tmp"
mv "$out.tmp" "$out"
