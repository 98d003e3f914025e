#!/usr/bin/env bash
# Installs what building and testing Velmora needs on Debian 12, then configures and builds.
# Quick when nothing is missing: apt-get runs only for packages that are not installed yet.
set -euo pipefail
cd "$(dirname "$0")/.."

PACKAGES=(
  cmake ninja-build g++ pkg-config ccache
  qt6-base-dev qt6-base-dev-tools libgl-dev
  libicu-dev libavahi-client-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  fonts-noto-cjk
  xvfb xdotool x11-utils openbox imagemagick python3 avahi-daemon dbus
)

missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if ((${#missing[@]})); then
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  echo "Installing: ${missing[*]}"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

PRESET="${VELM_PRESET:-default}"
cmake --preset "$PRESET" >/dev/null
cmake --build --preset "$PRESET"
