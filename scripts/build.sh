#!/usr/bin/env bash
# Configures and builds into build/: the targets given (for example "rollandia", the game and
# its data, which is all that playing needs), or without any everything: the game, its tools,
# tests and benchmarks.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cmake -S "$root" -B "$root/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
targets=()
for target in "$@"; do
  targets+=(--target "$target")
done
cmake --build "$root/build" -j "$(nproc)" "${targets[@]}"
