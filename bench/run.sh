#!/usr/bin/env bash
# Runs every benchmark against a build folder (make bench): bench/run.sh BUILD_DIR
# To add a benchmark, write bench/<name>.sh, which gets the absolute build folder as $1 and exits
# non-zero when a check fails, and add <name> to the list below.
set -uo pipefail

benchmarks=(
  sizes
  applications
  leftovers
  formerprograms
  leftoverswindow
  systemdata
  homescan
  quit
)

build_dir=$(cd "${1:-build}" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
failed=()
for name in "${benchmarks[@]}"; do
  echo "=== $name"
  if ! "$here/$name.sh" "$build_dir"; then
    failed+=("$name")
  fi
  echo
done
if [ ${#failed[@]} -gt 0 ]; then
  echo "benchmarks with failed checks: ${failed[*]}"
  exit 1
fi
