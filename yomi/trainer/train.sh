#!/usr/bin/env bash
# Rewrites yomi/weights/Patterns.yw from nothing: two rounds of self-play, each followed by a
# fit. Every seed is fixed and the tools use one thread, so the same sources give the same file.
# Takes some hours on one core of a 2-core machine (round 2 dominates); pass a work folder to
# keep the game records.
#
#   yomi/trainer/train.sh [BUILD_DIR] [WORK_DIR]
set -euo pipefail
cd "$(dirname "$0")/../.."
build=${1:-build}
work=${2:-$(mktemp -d)}
mkdir -p "$work"
cmake --build "$build" --target yomi_selfplay yomi_train
tools="$build/tools"

# Round 1: the plain judgement plays four moves deep after 8 to 20 random moves; the last 14
# empties are played perfectly.
"$tools/yomi_selfplay" --out "$work/round1.rec" --games 60000 --seed 101 --depth 4 --solve 14 --random 8 20
"$tools/yomi_train" --out "$work/round1.yw" --rounds 30 --min-seen 8 "$work/round1.rec"

# Round 2: the first weights play after 8 to 16 random moves; the last 16 empties perfectly.
"$tools/yomi_selfplay" --out "$work/round2.rec" --games 80000 --seed 201 --depth 4 --solve 16 --random 8 16 \
  --weights "$work/round1.yw"
"$tools/yomi_train" --out yomi/weights/Patterns.yw --rounds 30 --min-seen 8 "$work/round1.rec" "$work/round2.rec"
echo "game records kept in $work"
