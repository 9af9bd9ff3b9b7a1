#!/usr/bin/env bash
# Builds the level checker and the tests of the checker and the editor's model with clang,
# AddressSanitizer and UndefinedBehaviorSanitizer into build-sanitize/, and runs them on
# levels whose screens sit at the ends of the integer range: any overflow in the screen
# arithmetic stops the run. Only the targets needed are built.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build-sanitize"
flags="-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer"
CC=clang CXX=clang++ cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DROLLANDIA_BENCH=OFF \
  -DCMAKE_CXX_FLAGS="$flags" -DCMAKE_C_FLAGS="$flags" -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" \
  >/dev/null
cmake --build "$build" -j "$(nproc)" --target check_level limits_tests

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

echo "Checking a level at the integer limits with the sanitizers"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
screen() { printf '<screen x="%s" y="%s"/>' "$1" "$2"; }
{
  printf '<universe><world name="Limits" active="1">'
  for x in -2147483648 -2147483647 2147483646 2147483647; do
    for y in -2147483648 2147483647; do
      screen "$x" "$y"
    done
  done
  printf '</world></universe>\n'
} >"$work/limits.xml"
status=0
"$build/check_level" "$work/limits.xml" >"$work/findings.txt" || status=$?
if [ "$status" -ne 1 ] || ! grep -q "no screen can lie beyond it" "$work/findings.txt"; then
  echo "check_level on a level at the integer limits ended with status $status" >&2
  cat "$work/findings.txt" >&2
  exit 1
fi

echo "Running the checker's and the editor's model tests with the sanitizers"
(cd "$build" && ./limits_tests)
