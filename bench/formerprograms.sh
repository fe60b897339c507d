#!/usr/bin/env bash
# The finder of what removed programs left (FileScanner::findLeftovers) on a sandbox machine with
# full searched places, many installed packages and programs, next to listing each searched place
# once plus reading the installed lists; fails when the ratio is above 1.5.
# usage: bench/formerprograms.sh BUILD_DIR
# VERLO_BENCH_FORMER_ENTRIES: entries per place (default 1500)
# VERLO_BENCH_RUNS: timed runs (default 9)
set -euo pipefail

exe="$1/bench/bench_formerprograms"
if [ ! -x "$exe" ]; then
  echo "missing $exe: build the bench_formerprograms target first"
  exit 1
fi
"$exe" "${VERLO_BENCH_FORMER_ENTRIES:-1500}" "${VERLO_BENCH_RUNS:-9}"
