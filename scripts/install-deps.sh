#!/usr/bin/env bash
# Installs the Debian packages Quorvex needs to build, run and test.
# Idempotent: installs only what is missing, and runs apt-get update first when it must install.
set -euo pipefail

packages=(
  g++ cmake make pkg-config
  qt6-base-dev libgl1-mesa-dev
  libjpeg-dev libpng-dev libopenexr-dev libmpfr-dev
  ffmpeg
  libgtest-dev
  xvfb xauth imagemagick
  fonts-ipafont-gothic fonts-ipafont-mincho qt6-translations-l10n
  desktop-file-utils
  dpkg-dev file
  python3
  xdotool python3-pyatspi at-spi2-core dbus-daemon
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
  sudo_cmd=(sudo)
fi

echo "Installing: ${missing[*]}"
"${sudo_cmd[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
