#!/usr/bin/env bash
# Builds the libFuzzer targets with clang into build-fuzz/.
#   scripts/fuzz.sh                 replay every target's seed corpus once (what the tests do)
#   scripts/fuzz.sh TARGET SECONDS  fuzz one target (for example "pack") for that long
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build-fuzz"
CC=clang CXX=clang++ cmake -S "$root" -B "$build" -DROLLANDIA_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j "$(nproc)"

options=(-max_len=65536 -rss_limit_mb=1024 -malloc_limit_mb=512 -timeout=10)
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

if [ $# -ge 1 ]; then
  target=$1
  seconds=${2:-600}
  work="$build/corpus-$target"
  mkdir -p "$work"
  cp -n "$root/fuzz/corpus/$target"/* "$work/" 2>/dev/null || true
  exec "$build/fuzz_$target" "${options[@]}" -max_total_time="$seconds" "$work"
fi

for binary in "$build"/fuzz_*; do
  [ -x "$binary" ] || continue
  name=${binary##*/fuzz_}
  corpus="$root/fuzz/corpus/$name"
  if [ ! -d "$corpus" ]; then
    echo "fuzz target $name has no seed corpus in fuzz/corpus/$name" >&2
    exit 1
  fi
  echo "Replaying the seed corpus of $name"
  "$binary" "${options[@]}" -runs=0 "$corpus"
done
