#!/usr/bin/env bash
# Makes the Debian package from the built tree in build/, checks it with lintian, installs it
# with apt, runs the installed game under a virtual display from another folder until it is
# past its splash picture, checks the installed engine kit, then removes the package and
# checks that nothing of it stays behind. Run as root or with sudo available.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build"
title="Morvane - Rollandia"
splash_seconds=5
sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
  sudo_cmd=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive

echo "Validating the desktop entries, the metadata and the manual pages"
desktop-file-validate "$root"/packaging/*.desktop
appstreamcli validate --no-net "$root"/packaging/*.metainfo.xml | sed 's/^/  /'
for page in "$root"/packaging/man/*.[16]; do
  problems=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null)
  [ -z "$problems" ] || { echo "$page: $problems" >&2; exit 1; }
done

cd "$build"
rm -f rollandia_*.deb
echo "Making the Debian package"
cpack -G DEB >/dev/null
deb=$(ls rollandia_*.deb)
echo "  $deb"
echo "lintian's verdict:"
lintian --fail-on error "$build/$deb" 2>/dev/null | sed 's/^/  /'
echo "  no errors ($SECONDS s so far)"

work=$(mktemp -d)
game=
xvfb=
cleanup() {
  [ -n "$game" ] && kill "$game" 2>/dev/null || true
  [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null || true
  "${sudo_cmd[@]}" apt-get purge -y -q rollandia >/dev/null 2>&1 || true
  rm -rf "$work"
}
trap cleanup EXIT
"${sudo_cmd[@]}" apt-get install -y -q "$build/$deb" >/dev/null
dpkg -L rollandia > "$work/files"
echo "Installed $(wc -l < "$work/files") paths ($SECONDS s so far)"

echo "Running the installed game from another folder"
display=:$(( 500 + RANDOM % 400 ))
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
mkdir -p "$work/home"
(cd "$work/home" && HOME="$work/home" DISPLAY=$display SDL_AUDIODRIVER=dummy exec rollandia --window) \
  > "$work/game.log" 2>&1 &
game=$!
for _ in $(seq 300); do
  DISPLAY=$display xdotool search --name "$title" >/dev/null 2>&1 && break
  kill -0 "$game" 2>/dev/null || break
  sleep 0.1
done
DISPLAY=$display xdotool search --name "$title" >/dev/null 2>&1 \
  || { cat "$work/game.log" >&2; echo "the installed game opened no window" >&2; exit 1; }
# Past the splash the game loads the level and runs its first screen.
sleep $((splash_seconds + 3))
kill -0 "$game" 2>/dev/null || { cat "$work/game.log" >&2; echo "the installed game ended early" >&2; exit 1; }
DISPLAY=$display xdotool search --name "$title" key Escape >/dev/null 2>&1 || true
for _ in $(seq 100); do kill -0 "$game" 2>/dev/null || break; sleep 0.1; done
game=
echo "  it reached its first screen and ended on Escape ($SECONDS s so far)"

"$root/scripts/check-kit.sh" /usr

echo "Removing the package"
"${sudo_cmd[@]}" apt-get purge -y -q rollandia >/dev/null
left=0
while IFS= read -r path; do
  if [ -f "$path" ] || [ -L "$path" ]; then echo "  left behind: $path" >&2; left=1; fi
done < "$work/files"
[ ! -e /usr/share/rollandia ] || { echo "  left behind: /usr/share/rollandia" >&2; left=1; }
[ "$left" -eq 0 ] || exit 1
echo "  nothing left behind ($SECONDS s in all)"
