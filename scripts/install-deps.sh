#!/usr/bin/env bash
# Installs every Debian package the game, its tests, benchmarks, fuzzers and content tools need.
# Idempotent: apt is only called when something is missing. Run as root (or with sudo available).
set -euo pipefail

packages=(
  cmake g++ make pkg-config
  libsdl2-dev libsdl2-mixer-dev libx11-dev libxcomposite-dev libxrender-dev libxfixes-dev libxext-dev
  libgl-dev libglu1-mesa-dev
  libxerces-c-dev
  libpng-dev zlib1g-dev libminizip-dev
  libbox2d-dev
  googletest libgtest-dev libbenchmark-dev
  xvfb xauth xdotool imagemagick x11-utils
  clang libclang-rt-14-dev
  glslang-tools sox openmpt123 xmp vorbis-tools libvorbis-dev
  python3 zip unzip
  dpkg-dev lintian desktop-file-utils appstream man-db
)

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$package")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "Installing: ${missing[*]}"
sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
  sudo_cmd=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -q
"${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
