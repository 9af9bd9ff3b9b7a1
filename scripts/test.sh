#!/usr/bin/env bash
# Installs what is needed, builds everything, replays the fuzz corpora, runs the sanitizer
# job on screens at the integer limits and runs the test suite, then checks the Debian package
# (made, installed, played, removed) and the engine kit built against it, and prints the ratio
# of test lines to code lines. Tests that draw need a display:
# without one they run under Xvfb. The exit status is the test suite's.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
"$root/scripts/fuzz.sh"
"$root/scripts/sanitize.sh"
"$root/scripts/build.sh"
cd "$root/build"
status=0
if [ -n "${DISPLAY:-}" ]; then
  ctest --output-on-failure || status=$?
else
  xvfb-run -a -s "-screen 0 1024x768x24" ctest --output-on-failure || status=$?
fi
"$root/scripts/check-package.sh" || status=$?
"$root/scripts/test-ratio.sh"
exit "$status"
