#!/usr/bin/env bash
# Installs what is needed, builds, and runs the game on its bundled data.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh"
cd "$root/build"
exec ./rollandia
