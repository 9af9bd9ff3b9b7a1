#!/usr/bin/env bash
# Takes a picture of every screen of a world as its solution plays in real time on a virtual
# 800 x 600 display: the start screen a moment after play begins, every other screen a moment
# after the ball first enters it; each is halved to 400 x 300 and saved as screen_X_Y.png.
# usage: take_screenshots.sh BUILD_DIR OUTPUT_DIR WORLD GOAL SCRIPT
#   e.g. take_screenshots.sh build docs/screenshots/tide_pools "Tide Pools" 0,3 tools/playthrough/tide_pools.solution
set -euo pipefail
build=$(cd "$1" && pwd)
mkdir -p "$2"
out=$(cd "$2" && pwd)
world=$3
goal=$4
script=$(cd "$(dirname "$5")" && pwd)/$(basename "$5")
settle=0.4   # seconds after entering, so that the ball is inside the screen

display=:$(( 500 + RANDOM % 400 ))
Xvfb "$display" -screen 0 800x600x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null || true' EXIT
export DISPLAY=$display SDL_AUDIODRIVER=dummy
for _ in $(seq 100); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done

shot() { import -window root -resize 50% "$out/screen_$1_$2.png"; echo "  $out/screen_$1_$2.png"; }

cd "$build"
log=$(mktemp)
resting=$(mktemp)
trap 'kill $xvfb 2>/dev/null || true; rm -f "$log" "$resting"' EXIT
# Every world starts on its screen at column 0, row 0: pictured with the ball at rest there.
echo "4 -" >"$resting"
./playthrough --realtime --world "$world" --goal 0,0 "$resting" >/dev/null 2>&1 &
sleep 3
shot 0 0
wait $!
./playthrough --realtime --world "$world" --goal "$goal" "$script" >"$log" 2>/dev/null &
player=$!
declare -A taken=([0,0]=1)
while IFS= read -r line; do
  if [[ $line =~ ^entered\ screen\ \((-?[0-9]+),\ (-?[0-9]+)\) ]]; then
    x=${BASH_REMATCH[1]} y=${BASH_REMATCH[2]}
    if [ -z "${taken[$x,$y]:-}" ]; then
      taken[$x,$y]=1
      sleep "$settle"
      shot "$x" "$y"
    fi
  fi
done < <(tail -n +1 -f --pid "$player" "$log")
