#!/usr/bin/env bash
# Installs what building Velmora needs on Debian 12, then configures and builds.
#   scripts/setup.sh program   what the program needs, and builds the program set (./start.sh)
#   scripts/setup.sh all       also what the tests, benchmarks and package checks need, and
#                              builds everything (./test.sh)
# Quick when nothing is missing: apt-get runs only for packages that are not installed yet.
set -euo pipefail
cd "$(dirname "$0")/.."
WHAT="${1:-all}"

# The program: compiler, build tools, Qt, ICU, Avahi, the home router's two protocols (UPnP IGD
# and NAT-PMP) and the Japanese fonts it draws with.
PROGRAM_PACKAGES=(
  cmake ninja-build g++ pkg-config ccache
  qt6-base-dev qt6-base-dev-tools libgl-dev
  libicu-dev libavahi-client-dev libminiupnpc-dev libnatpmp-dev
  fonts-noto-cjk
)
# The tests and benchmarks, the X server the two-process tests drive, the machines in network
# namespaces and the home router among them, and the package checks.
TEST_PACKAGES=(
  libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xdotool x11-utils openbox imagemagick python3 avahi-daemon dbus
  iproute2 nftables miniupnpd miniupnpd-nftables
  desktop-file-utils appstream lintian dpkg-dev file
)

PACKAGES=("${PROGRAM_PACKAGES[@]}")
[ "$WHAT" = all ] && PACKAGES+=("${TEST_PACKAGES[@]}")

missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if ((${#missing[@]})); then
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  echo "Installing: ${missing[*]}"
  $SUDO apt-get update -qq
  # No service a package brings (the router daemon the tests start in a namespace of their own)
  # is started on this machine by its installation.
  NO_START=/usr/sbin/policy-rc.d
  if [ ! -e "$NO_START" ]; then
    printf '#!/bin/sh\nexit 101\n' | $SUDO tee "$NO_START" >/dev/null
    $SUDO chmod +x "$NO_START"
    trap '$SUDO rm -f "$NO_START"' EXIT
  fi
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

PRESET="${VELM_PRESET:-default}"
cmake --preset "$PRESET" >/dev/null
if [ "$WHAT" = all ]; then
  cmake --build --preset "$PRESET"
else
  cmake --build --preset "$PRESET" --target velm_program
fi
