#!/usr/bin/env bash
# Lists the module's variables of static storage that live outside the owner of
# the module state: every writable object (.data, .bss and their relatives, not
# the read-only relocated data) that the compiler emitted for a source of
# runtime/, script/, menus/, screens/, overlays/, startup/ or host/ — namespace-scope variables,
# class statics and function-local statics alike. Constants the compiler can
# place in read-only data are not listed; what may stay is named below.
# Prints "source: symbol (section, bytes)" per variable; exit 1 when any.
#
#   bash scripts/module_statics.sh [BUILD_DIR]     (default build/release, built)
set -euo pipefail
source=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$source/build/release}
commands=$build/compile_commands.json
if [ ! -f "$commands" ]; then
  echo "module_statics: no $commands (configure and build first)" >&2
  exit 2
fi

# What may stay, by demangled name:
#  - the owner itself;
#  - data the module exports by name (tests/exports.txt), which a host reads
#    directly; their part of the state resets them;
#  - the foundation library's own counters, defined by its headers (tam::);
#  - constant tables built once at first use.
allowed='^\(anonymous namespace\)::g_owner$|^tam::|^ClassParamsTable\(\)::table$'
while read -r name; do
  [ -n "$name" ] && allowed="$allowed|^$name\$"
done < <(grep -E '^[A-Za-z_][A-Za-z0-9_]*$' "$source/tests/exports.txt")

# Object file and source of every module compile, source relative to the tree.
objects=$(python3 - "$commands" "$source" <<'EOF'
import json, os, sys
root = os.path.realpath(sys.argv[2])
for entry in json.load(open(sys.argv[1])):
    src = os.path.realpath(os.path.join(entry["directory"], entry["file"]))
    rel = os.path.relpath(src, root)
    if rel.split(os.sep)[0] in ("runtime", "script", "menus", "screens", "overlays", "startup", "host"):
        obj = entry.get("output") or entry["command"].split(" -o ")[1].split()[0]
        print(os.path.join(entry["directory"], obj), rel)
EOF
)

found=0
while read -r object rel; do
  [ -f "$object" ] || { echo "module_statics: $object is not built" >&2; exit 2; }
  # objdump -t: address, flags, section, size, name; "O" marks an object.
  while IFS=$'\t' read -r section size name; do
    name=${name#.hidden }
    # Guards of function-local statics go with them; DW.ref.* (the exception
    # personality routine) and the sanitizers' markers are the compiler's own.
    if [[ $name =~ ^guard\ variable\ for|^DW\.ref\.|^__odr_asan|^__asan_|^__sancov_ ]] ||
       [[ $name =~ $allowed ]]; then
      continue
    fi
    echo "$rel: $name ($section, $((16#$size)) bytes)"
    found=1
  done < <(objdump -t -C "$object" |
           awk '/ O / && $0 !~ /\.data\.rel\.ro/ {
                  if (match($0, / O (\.bss|\.data|\.tbss|\.tdata)[^ \t]*\t[0-9a-f]+ /)) {
                    split(substr($0, RSTART + 3, RLENGTH - 4), f, "\t")
                    print f[1] "\t" f[2] "\t" substr($0, RSTART + RLENGTH)
                  }
                }')
done <<< "$objects"
exit $found
