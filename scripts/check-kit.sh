#!/usr/bin/env bash
# Checks the engine kit installed under the prefix given (default /usr): every installed
# header compiles on its own, and the example level statistics tool builds out of tree against
# the kit alone, once through its CMake package and once through pkg-config, and runs on the
# installed level.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
prefix=${1:-/usr}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export PKG_CONFIG_PATH="$prefix/lib/pkgconfig${PKG_CONFIG_PATH:+:$PKG_CONFIG_PATH}"
flags=$(pkg-config --cflags rollandia-engine)

echo "Compiling every installed engine header on its own"
export KIT_FLAGS=$flags
(cd "$prefix/include/rollandia" && find . -name '*.h' | sed 's|^[.]/||' | sort) > "$work/headers"
# shellcheck disable=SC2016  # expanded by the inner shell
xargs -P "$(nproc)" -I{} sh -c 'echo "#include \"$1\"" | g++ -std=c++17 -fsyntax-only $KIT_FLAGS -x c++ - \
  || { echo "the installed header $1 does not compile on its own" >&2; exit 255; }' sh {} < "$work/headers"
echo "  $(wc -l < "$work/headers") headers"

echo "Building examples/level_stats against the installed kit"
cmake -S "$root/examples/level_stats" -B "$work/cmake" -DCMAKE_PREFIX_PATH="$prefix" >/dev/null
cmake --build "$work/cmake" -j 2 >/dev/null
g++ -std=c++17 -o "$work/level_stats_pc" "$root/examples/level_stats/level_stats.cpp" $(pkg-config --cflags --libs rollandia-engine)
for tool in "$work/cmake/level_stats" "$work/level_stats_pc"; do
  "$tool" "$prefix/share/rollandia/universe.xml" | grep -qx "pictures missing: 0" \
    || { echo "$tool did not find every picture of the installed level" >&2; exit 1; }
done
echo "  the example builds both ways and reads the installed level"
