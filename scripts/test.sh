#!/usr/bin/env bash
# Installs what is needed, builds everything, replays the fuzz corpora and runs the test
# suite. Tests that draw need a display: without one they run under Xvfb.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
"$root/scripts/fuzz.sh"
"$root/scripts/build.sh"
cd "$root/build"
if [ -n "${DISPLAY:-}" ]; then
  exec ctest --output-on-failure
fi
exec xvfb-run -a -s "-screen 0 1024x768x24" ctest --output-on-failure
