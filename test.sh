#!/usr/bin/env bash
# Installs what is missing, builds everything, and runs the whole test suite.
set -euo pipefail
cd "$(dirname "$0")"
scripts/setup.sh all
export QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}"
ctest --preset "${VELM_PRESET:-default}" "$@"
