#!/usr/bin/env bash
# The window while its Leftovers section loads over a machine with many leftovers: the longest
# stall of the GUI thread must stay within 50 ms (bench_leftoverswindow fails otherwise).
# usage: bench/leftoverswindow.sh BUILD_DIR
set -euo pipefail
exe="$1/bench/bench_leftoverswindow"
if [ ! -x "$exe" ]; then
  echo "missing $exe: build the bench_leftoverswindow target first"
  exit 1
fi
"$exe" "${VERLO_BENCH_LEFTOVERS_PER_PLACE:-1500}" "${VERLO_BENCH_RUNS:-3}"
