#!/usr/bin/env bash
# Installs what is missing, builds, and starts Velmora.
set -euo pipefail
cd "$(dirname "$0")"
scripts/setup.sh
cd build/bin
exec ./velmora "$@"
