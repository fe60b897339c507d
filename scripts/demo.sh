#!/usr/bin/env bash
# Opens Verlo over the sample machine: builds the machine once under demo-machine/ (delete that
# folder to start again from a fresh machine), then runs the real window on it. Removals in the
# demo happen inside that machine only: files go to its own Trash, and its brew and npm stand-ins
# delete the package folders of the machine.
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${1:-build}
machine_dir=${VERLO_DEMO_MACHINE:-$PWD/demo-machine}

if [ ! -x "$build_dir/demo/verlo_demo_machine" ] || [ ! -x "$build_dir/app/verlo-demo" ]; then
  echo "demo.sh: build first (make demo builds everything)" >&2
  exit 1
fi

if [ ! -f "$machine_dir/machine.env" ]; then
  echo "Building the sample machine in $machine_dir (once; about 1.8 GB of real files)..."
fi
"$build_dir/demo/verlo_demo_machine" "$machine_dir" >/dev/null
# shellcheck disable=SC1091
. "$machine_dir/machine.env"
export VERLO_DEMO_HOME VERLO_DEMO_ROOT

echo "Sample machine: home $VERLO_DEMO_HOME, system root $VERLO_DEMO_ROOT"
exec scripts/open-window.sh "$build_dir/app/verlo-demo"
