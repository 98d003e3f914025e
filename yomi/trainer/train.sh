#!/usr/bin/env bash
# Rewrites yomi/weights/Patterns.yw from nothing: three rounds of self-play, each followed by a
# fit, each round played with the weights of the one before. Every seed is fixed and each tool
# uses one thread, so the same sources give the same games and the same file. The two halves
# of a round run side by side; on a 2-core machine the whole takes about three hours.
#
#   yomi/trainer/train.sh [BUILD_DIR] [WORK_DIR]
#
# WORK_DIR keeps the game records (about 17 bytes a position, 250 MB in all).
set -euo pipefail
cd "$(dirname "$0")/../.."
build=${1:-build}
work=${2:-$(mktemp -d)}
mkdir -p "$work"
cmake --build "$build" --target yomi_selfplay yomi_train
tools="$build/tools"

# Two self-play runs side by side: round name, seeds, then the options both share.
play_round() {
  local name=$1 first=$2 second=$3
  shift 3
  "$tools/yomi_selfplay" --out "$work/$name-a.rec" --seed "$first" "$@" &
  "$tools/yomi_selfplay" --out "$work/$name-b.rec" --seed "$second" "$@"
  wait
}
fit() {
  local out=$1
  shift
  "$tools/yomi_train" --out "$out" --rounds 30 --min-seen 8 "$@"
}

# Round 1: the plain judgement plays four moves deep after 8 to 20 random moves, the last 14
# empties perfectly.
"$tools/yomi_selfplay" --out "$work/round1.rec" --games 60000 --seed 101 --depth 4 --solve 14 --random 8 20
fit "$work/round1.yw" "$work/round1.rec"

# Rounds 2 and 3: the weights of the round before play after 8 to 16 random moves, the last 16
# empties perfectly.
play_round round2 201 202 --games 40000 --depth 4 --solve 16 --random 8 16 --weights "$work/round1.yw"
fit "$work/round2.yw" "$work"/round1.rec "$work"/round2-?.rec
play_round round3 301 302 --games 40000 --depth 4 --solve 16 --random 8 16 --weights "$work/round2.yw"
# The final fit leaves out round 1, whose plainer play gives noisier results.
fit yomi/weights/Patterns.yw "$work"/round2-?.rec "$work"/round3-?.rec
echo "game records kept in $work"
