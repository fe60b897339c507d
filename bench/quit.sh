#!/usr/bin/env bash
# Closing the window in the middle of a System Data scan of a large tree: the view model's
# destruction must return within a second (bench_quit fails otherwise). Uses the size
# benchmark's 300,000-entry tree (made by bench/make_tree.py when missing).
# usage: bench/quit.sh BUILD_DIR
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
tree=${VERLO_BENCH_TREE:-/tmp/verlo-bench/tree-300000}
python3 "$here/make_tree.py" "$tree" 300000
exe="$1/bench/bench_quit"
if [ ! -x "$exe" ]; then
  echo "missing $exe: build the bench_quit target first"
  exit 1
fi
"$exe" "$tree" "${VERLO_BENCH_RUNS:-5}"
