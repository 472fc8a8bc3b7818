#!/usr/bin/env bash
# Installs what is missing, builds the program alone and starts it in build/,
# the folder that holds the help file Qorvix.html: the help command looks in
# the current folder first.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh" Qorvix
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  cat <<MSG
Quorvex is built: $root/build/Qorvix
There is no display here to show its windows. To run it under a virtual X server:
  Xvfb :99 -screen 0 1280x1024x24 &
  cd $root/build && DISPLAY=:99 ./Qorvix
MSG
  exit 0
fi
cd "$root/build"
exec ./Qorvix
