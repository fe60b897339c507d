#!/usr/bin/env bash
# The application listing (FileScanner::scanApplications) of a sandbox machine with 1,000
# bundles, a third of them with binary property lists, next to a loop that only lists the same
# folders and reads each Info.plist's bytes: medians of interleaved runs on a warm cache.
# usage: bench/applications.sh BUILD_DIR
# VERLO_BENCH_BUNDLES: bundles (default 1000)
# VERLO_BENCH_RUNS: timed runs (default 15)
set -euo pipefail

exe="$1/bench/bench_applications"
if [ ! -x "$exe" ]; then
  echo "missing $exe: build the bench_applications target first"
  exit 1
fi
"$exe" "${VERLO_BENCH_BUNDLES:-1000}" "${VERLO_BENCH_RUNS:-15}"
