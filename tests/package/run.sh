#!/usr/bin/env bash
# The installed package, as an embedder sees it: installs the build into a
# prefix, moves the prefix (nothing may point at the old place), then builds
# examples/minimal_host against it with find_package and runs it, builds a
# small program with pkg-config, runs the installed korvoui, and checks the
# libraries' names and exports and the component split.
#
#   run.sh CMAKE CXX BUILD_DIR SOURCE_DIR WORK_DIR
set -euo pipefail
cmake=$1 cxx=$2 build=$3 source=$4 work=$5

fail() { echo "FAIL: $*" >&2; exit 1; }

rm -rf "$work"
mkdir -p "$work"
"$cmake" --install "$build" --prefix "$work/stage" >"$work/install.log"
mv "$work/stage" "$work/prefix"
prefix=$work/prefix

# ---- Layout, names and relocation -------------------------------------------------------
for header in korvogui/korvogui.h korvogui/lobby.h host/netkorvo.h refhost/korvohost.h \
              refhost/korvohost_graphics.h netkorvo/netkorvo.h; do
  [ -f "$prefix/include/korvogui/$header" ] || fail "header $header not installed"
done
for lib in korvogui yprofile korvohost netkorvo; do
  soname=$(readelf -d "$prefix/lib/lib$lib.so" | sed -n 's/.*(SONAME).*\[\(.*\)\]/\1/p')
  [[ "$soname" =~ ^lib$lib\.so\.[0-9]+$ ]] || fail "lib$lib.so: SONAME '$soname'"
  [ -e "$prefix/lib/$soname" ] || fail "lib$lib.so: no $soname in lib/"
  readelf -d "$prefix/lib/$soname" | grep -q 'R.*PATH.*\[\$ORIGIN\]' || fail "lib$lib.so: RUNPATH is not \$ORIGIN"
done
if grep -rlF -e "$build" -e "$source" -e "$work" "$prefix/lib/cmake" "$prefix/lib/pkgconfig"; then
  fail "absolute paths in the installed package files above"
fi

# The module's library exports its API only.
sh "$source/tests/check_exports.sh" "$prefix/lib/libkorvogui.so" "$source/tests/exports.txt" >/dev/null ||
  fail "exports of the installed libkorvogui.so"

# One component alone: the module without the reference host or the tools.
"$cmake" --install "$build" --prefix "$work/module-only" --component module >/dev/null
[ -f "$work/module-only/lib/libkorvogui.so" ] || fail "component module lacks libkorvogui.so"
if find "$work/module-only" -name 'libkorvohost*' -o -name 'libnetkorvo*' -o -name korvoui | grep .; then
  fail "component module installs the files above"
fi

# ---- find_package: the example --------------------------------------------------------
"$cmake" -S "$source/examples/minimal_host" -B "$work/example" -G Ninja -DCMAKE_BUILD_TYPE=Release \
         -DCMAKE_CXX_COMPILER="$cxx" -DCMAKE_CXX_FLAGS="-Wall -Wextra -Werror" \
         -DCMAKE_PREFIX_PATH="$prefix" >"$work/example.log"
if grep -F -e "$source/include" -e "$source/refhost" -e "$source/netkorvo" -e "$build/libkorvogui" \
        -e "$build/refhost/" -e "$build/netkorvo/" -e "$build/platform/" "$work/example/build.ninja" |
   head -n 3 | grep .; then
  fail "the example reaches the source or build tree (above)"
fi
"$cmake" --build "$work/example" >>"$work/example.log" || { cat "$work/example.log"; fail "example build"; }
out=$("$work/example/minimal_host") || fail "minimal_host exited $?"
echo "$out"
grep -qx 'minimal_host: HELLOMENU open, [1-9][0-9]* draws in a 640x480 frame' <<<"$out" || fail "minimal_host: no frame line"
grep -q '^text "HELLO FROM KORVOGUI" at ' <<<"$out" || fail "minimal_host: the title was not drawn"

# An unknown component is refused.
mkdir -p "$work/bad"
printf 'cmake_minimum_required(VERSION 3.22)\nproject(bad LANGUAGES CXX)\nfind_package(korvogui CONFIG REQUIRED COMPONENTS nosuch)\n' \
  >"$work/bad/CMakeLists.txt"
if "$cmake" -S "$work/bad" -B "$work/bad/build" -DCMAKE_PREFIX_PATH="$prefix" >"$work/bad.log" 2>&1; then
  fail "find_package accepted the component nosuch"
fi
grep -q 'unknown component nosuch' "$work/bad.log" || fail "no reason given for the component nosuch"

# ---- pkg-config ---------------------------------------------------------------------------
export PKG_CONFIG_PATH=$prefix/lib/pkgconfig
[ "$(pkg-config --modversion korvogui)" = "$(sed -n 's/^Version: //p' "$prefix/lib/pkgconfig/korvogui.pc")" ] \
  || fail "pkg-config --modversion"
cat >"$work/tiny.cpp" <<'EOF'
#include <cstdio>
#include "korvogui/korvogui.h"
#include "korvogui/lobby.h"
#include "refhost/korvohost.h"
int main(int argc, char** argv) {
  if (argc < 2 || !korvohost::Mount(argv[1])) return 2;
  GUI_Initialize();
  const bool compiled = GUI_Compile() && GUI_CreateDialog("HELLOMENU");
  std::printf("compiled %d, last error \"%s\"\n", compiled, GUI_GetLastError());
  GUI_Release();
  return compiled ? 0 : 1;
}
EOF
# shellcheck disable=SC2046
"$cxx" -std=c++20 -Wall -Wextra -Werror $(pkg-config --cflags korvogui) -c "$work/tiny.cpp" -o "$work/tiny.o" \
  || fail "compiling with pkg-config --cflags korvogui"
# shellcheck disable=SC2046
"$cxx" "$work/tiny.o" -o "$work/tiny" $(pkg-config --libs korvogui-netkorvo) \
  -Wl,-rpath,"$prefix/lib" || fail "linking with pkg-config --libs"
"$work/tiny" "$source/examples/minimal_host/root" || fail "the pkg-config program exited $?"

# ---- The installed tools, on the installed assets ---------------------------------------
out=$("$prefix/bin/korvoui" render MAINMENU -o "$work/mainmenu.png") || fail "installed korvoui render"
echo "$out"
[ "$out" = "wrote $work/mainmenu.png (1024x768), 0 missing textures" ] || fail "installed korvoui: unexpected output"
rc=0; "$prefix/bin/korvo-lobbyd" >/dev/null 2>&1 || rc=$?
[ "$rc" -eq 2 ] || fail "installed korvo-lobbyd without arguments exited $rc (usage: 2)"
echo "package: ok"
