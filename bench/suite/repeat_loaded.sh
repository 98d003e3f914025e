#!/bin/bash
# Runs the whole test suite RUNS times in a row (default 50) with BUSY busy loops (default two)
# beside it, and stops at the first failing run. Run from the top of a built checkout:
#   bash bench/suite/repeat_loaded.sh [RUNS] [BUSY]
# Prints one line per run (its wall time) and, at the end, the slowest and the median run.
set -u
runs=${1:-50}
busy=${2:-2}
log=${TMPDIR:-/tmp}/velmora-repeat.$$
mkdir -p "$log"
loops=()
for _ in $(seq "$busy"); do
  (while :; do :; done) &
  loops+=($!)
done
trap 'kill "${loops[@]}" 2>/dev/null' EXIT
times=()
for run in $(seq "$runs"); do
  start=$(date +%s.%N)
  if ! ctest --preset default > "$log/run$run.txt" 2>&1; then
    echo "run $run failed; its output is in $log/run$run.txt"
    grep -E "Failed|\*\*\*" "$log/run$run.txt"
    exit 1
  fi
  took=$(awk -v a="$start" -v b="$(date +%s.%N)" 'BEGIN {print b - a}')
  times+=("$took")
  printf 'run %d passed in %.1f s\n' "$run" "$took"
done
printf '%s\n' "${times[@]}" | sort -n | awk '{a[NR]=$1} END {printf "%d runs passed; median %.1f s, slowest %.1f s\n", NR, a[int((NR+1)/2)], a[NR]}'
