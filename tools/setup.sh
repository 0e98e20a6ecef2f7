#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing need.
# Safe to run again: apt-get only acts on what is missing.
set -euo pipefail

PACKAGES=(
  build-essential cmake ninja-build ccache pkg-config clang libclang-rt-14-dev clang-format clang-tidy
  qt6-base-dev qt6-base-dev-tools libqt6sql6-sqlite qt6-image-formats-plugins qt6-translations-l10n
  libsdl2-dev libsdl2-mixer-dev libfluidsynth3 fluid-soundfont-gm
  fonts-ipafont-gothic fonts-ipafont-mincho
  libsqlite3-dev libbenchmark-dev libjpeg-dev zlib1g-dev libxcb1-dev libxcb-damage0-dev libwmf-dev
  xvfb openbox xdotool imagemagick x11-utils xdg-utils
  dpkg-dev desktop-file-utils appstream
  at-spi2-core python3-pyatspi
)

missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
