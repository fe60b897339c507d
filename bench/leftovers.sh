#!/usr/bin/env bash
# The leftover search of one application (FileScanner::findAssociatedFiles) on a sandbox home
# whose ~25 searched folders hold a few thousand entries each, next to the cost of only listing
# those folders: medians of interleaved runs on a warm cache.
# usage: bench/leftovers.sh BUILD_DIR
# VERLO_BENCH_LEFTOVER_ENTRIES: entries per folder (default 3000)
# VERLO_BENCH_RUNS: timed runs (default 15)
set -euo pipefail

exe="$1/bench/bench_leftovers"
if [ ! -x "$exe" ]; then
  echo "missing $exe: build the bench_leftovers target first"
  exit 1
fi
"$exe" "${VERLO_BENCH_LEFTOVER_ENTRIES:-3000}" "${VERLO_BENCH_RUNS:-15}"
