#!/bin/sh
# The layers' include directories decide what a module source can include; an
# include by relative (..) or absolute path would get past them. None of the
# module's folders, the network stand-in, the host declarations or the public
# headers may have one.
#
#   check_includes.sh SOURCE_DIR
set -eu
cd "$1"
found=$(grep -rnE '^[[:space:]]*#[[:space:]]*include[[:space:]]*["<](/|[^">]*\.\./)' \
        runtime script menus screens overlays startup netkorvo host include || true)
if [ -n "$found" ]; then
  echo "$found"
  echo "FAIL: includes by relative or absolute path above; include by folder (\"runtime/x.h\")"
  exit 1
fi
echo "layer includes: by folder only"
