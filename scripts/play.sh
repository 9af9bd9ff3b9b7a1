#!/usr/bin/env bash
# Installs what is needed, builds the game alone (not its tools or tests), and runs it on its
# bundled data.
#  - With a display the game simply starts (Escape ends it).
#  - Without a display it plays a short scripted demo under a virtual display and saves
#    screenshots, saying where.
#  - Without a sound device it runs silently (SDL's dummy audio driver) and says so.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh" rollandia
cd "$root/build"

audio_message="BASS :: Can't initialize audio device!"

# True when this machine looks as if it can play sound: a sound card or a sound server.
has_sound_device() {
  compgen -G "/dev/snd/pcm*" >/dev/null && return 0
  [ -n "${PULSE_SERVER:-}" ] && return 0
  local runtime=${XDG_RUNTIME_DIR:-/run/user/$(id -u)}
  [ -S "$runtime/pulse/native" ] || [ -S "$runtime/pipewire-0" ]
}

if [ -z "${SDL_AUDIODRIVER:-}" ] && ! has_sound_device; then
  echo "No sound device found: the game runs silently."
  export SDL_AUDIODRIVER=dummy
fi

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  exec "$root/scripts/demo.sh" "$root/build/demo"
fi

status=0
./rollandia 2> >(tee rollandia.err >&2) || status=$?
if [ $status -ne 0 ] && grep -qF "$audio_message" rollandia.err && [ "${SDL_AUDIODRIVER:-}" != dummy ]; then
  echo "The sound device could not be opened: starting the game again, silently."
  SDL_AUDIODRIVER=dummy exec ./rollandia
fi
exit $status
