#!/usr/bin/env bash
# Plays a short scripted demo of the built game on a virtual display and saves screenshots
# into the folder given (default build/demo). Used by play.sh on machines without a display.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=${1:-$root/build/demo}
mkdir -p "$out"
export SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy}

display=:$(( 90 + RANDOM % 400 ))
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
game=
cleanup() {
  [ -n "$game" ] && kill "$game" 2>/dev/null || true
  kill "$xvfb" 2>/dev/null || true
}
trap cleanup EXIT
export DISPLAY=$display
for _ in $(seq 100); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done

echo "No display found: playing a short demo on a virtual display; screenshots go to $out"
cd "$root/build"
./rollandia &
game=$!

# Waits until the game's window exists (the splash then shows for five seconds).
for _ in $(seq 300); do xdotool search --name "Morvane - Rollandia" >/dev/null 2>&1 && break; sleep 0.1; done
shot() { import -window root "$out/$1.png"; echo "  $out/$1.png"; }
sleep 1; shot 1-splash
sleep 6; shot 2-first-screen
xdotool keydown Right; sleep 1.5; xdotool keyup Right; shot 3-rolling-right
xdotool keydown Up; sleep 2; shot 4-high-bounce; xdotool keyup Up
xdotool keydown Left; sleep 1; xdotool keyup Left; shot 5-rolling-left
xdotool key Escape
wait "$game"
game=
echo "Demo finished."
