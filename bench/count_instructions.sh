#!/usr/bin/env bash
# Counts the instructions each panel and its floor take for creation, the host conversation and
# a live tree, under callgrind: a measure that, unlike the wall time, stays the same while other
# jobs use the machine. Prints the instructions per run and the panel's ratio to the floor.
#   bash bench/count_instructions.sh [build folder] [runs per workload]
set -euo pipefail
build=${1:-build}
runs=${2:-10}
bench="$build/bench/bench_panels"
command -v valgrind >/dev/null || { echo "needs valgrind (apt-get install valgrind)" >&2; exit 1; }
[ -x "$bench" ] || { echo "no $bench: build the bench_panels target first" >&2; exit 1; }
export QT_QPA_PLATFORM=offscreen
count() {  # count WORKLOAD KIND: instructions per run
  local out
  out=$(mktemp)
  valgrind --tool=callgrind --callgrind-out-file="$out" --toggle-collect='*measuredRuns*' \
    "$bench" --workload "$1" "$2" "$runs" >/dev/null 2>&1
  awk -v runs="$runs" '/^summary:/ { printf "%.0f", $2 / runs }' "$out"
  rm -f "$out"
}
names=(ZANPdf3 ZANPdf)
for kind in 0 1; do
  for work in create conversation; do
    panel=$(count "$work-panel" "$kind")
    floor=$(count "$work-floor" "$kind")
    awk -v w="$work" -v n="${names[$kind]}" -v p="$panel" -v f="$floor" \
      'BEGIN { printf "%-13s %-8s panel %12d  floor %12d  ratio %.3f\n", w, n, p, f, p / f }'
  done
done
