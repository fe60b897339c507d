#!/usr/bin/env bash
# The whole system-data scan (FileScanner::scanSystemData) on a sandbox machine with four large
# folders (derived data, simulator devices, Docker data, a browser cache) plus small backups,
# logs and a tmutil stand-in, next to `du -s` of every place the scan measures: median of several
# runs on a warm cache. Building the machine writes about 500 MB and takes a minute or so.
# usage: bench/systemdata.sh BUILD_DIR
# VERLO_BENCH_SYSTEMDATA_FILES: files per large folder (default 10000)
# VERLO_BENCH_RUNS: timed runs (default 5)
set -euo pipefail

exe="$1/bench/bench_systemdata"
if [ ! -x "$exe" ]; then
  echo "missing $exe: build the bench_systemdata target first"
  exit 1
fi
"$exe" "${VERLO_BENCH_SYSTEMDATA_FILES:-10000}" "${VERLO_BENCH_RUNS:-5}"
