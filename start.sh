#!/usr/bin/env bash
# Installs what the program needs, builds the program (not the tests), and starts Velmora.
set -euo pipefail
cd "$(dirname "$0")"
scripts/setup.sh program
cd build/bin
exec ./velmora "$@"
