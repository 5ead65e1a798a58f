#!/bin/sh
# The dynamic symbols that LIB defines (code and data, demangled, sorted) are
# the names listed in EXPECTED, one a line, sorted. The toolchain's own
# symbols are left out, and so are weak instances of the standard library's
# templates (std::to_chars when an unoptimised build does not inline it): they
# carry the standard headers' default visibility and are not the interface.
#
#   check_exports.sh LIB EXPECTED
set -u
export LC_ALL=C
symbols=$(nm -D -C --defined-only "$1") || { echo "FAIL: nm failed on $1"; exit 1; }
printf '%s\n' "$symbols" | sed -nE 's/^[0-9a-f]+ ([TDBRVW]) (.*)$/\1 \2/p' | grep -vE '^[VW] .*std::' |
  cut -d' ' -f2- | grep -vxE '_init|_fini|__bss_start|_edata|_end|__.*' | sort -u |
  diff -u "$2" - || { echo "FAIL: exports differ from $2 (- expected, + actual)"; exit 1; }
echo "exports match ($2)"
