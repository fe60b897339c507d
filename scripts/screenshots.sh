#!/usr/bin/env bash
# Renders each section of Verlo over a fresh sample machine to docs/screenshots/*.png, offscreen
# with the software renderer. The machine lives in the build folder and is built once; it is
# never changed by the screenshots.
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${1:-build}
machine_dir="$build_dir/screenshot-machine"
output=docs/screenshots

"$build_dir/demo/verlo_demo_machine" "$machine_dir" >/dev/null
# shellcheck disable=SC1091
. "$machine_dir/machine.env"
export VERLO_DEMO_HOME VERLO_DEMO_ROOT

mkdir -p "$output"
QT_QPA_PLATFORM=offscreen QT_QUICK_BACKEND=software QT_SCALE_FACTOR=${QT_SCALE_FACTOR:-1} \
  LC_ALL=C.UTF-8 "$build_dir/app/verlo-screenshots" "$output"
