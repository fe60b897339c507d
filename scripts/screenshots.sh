#!/usr/bin/env bash
# Renders each section of Verlo over a fresh sample machine to docs/screenshots/*.png, offscreen
# with the software renderer. The machine lives in the build folder and is built once; it is
# never changed by the screenshots.
#
# Every file row shows its path, so the run gives the machine short places where it can
# (scripts/with-places.sh, which needs user namespaces): its home reads /Users/user, its XDG
# folders /home/user/... (the same folder mounted twice, as a Linux home), and its system root
# /sample. Where that is not possible the rows show the machine's folder in the build folder.
set -euo pipefail
cd "$(dirname "$0")/.."
output=$PWD/docs/screenshots

# Builds the machine (once) with the given folder, and home and root if given, then renders.
render() {
  "$build_dir/demo/verlo_demo_machine" "$@" >/dev/null
  # shellcheck disable=SC1091
  . "$1/machine.env"
  export VERLO_DEMO_HOME VERLO_DEMO_ROOT
  mkdir -p "$output"
  QT_QPA_PLATFORM=offscreen QT_QUICK_BACKEND=software QT_SCALE_FACTOR=${QT_SCALE_FACTOR:-1} \
    LC_ALL=C.UTF-8 "$build_dir/app/verlo-screenshots" "$output"
}

# Inside the namespace: --render BUILD_DIR MACHINE_FOLDER HOME ROOT
if [ "${1:-}" = --render ]; then
  build_dir=$2
  shift 2
  render "$@"
  exit
fi

build_dir=$(realpath "${1:-build}")
short=$build_dir/screenshot-machine
# The machine's files name its places: one not finished is built again from nothing.
if [ ! -f "$short/machine/machine.env" ]; then
  rm -rf "$short"
fi
mkdir -p "$short/home" "$short/root"
places=("/Users/user=$short/home" "/home/user=$short/home" "/sample=$short/root")
if scripts/with-places.sh "${places[@]}" -- true 2>/dev/null; then
  VERLO_SCREENSHOT_XDG_BASE=/home/user scripts/with-places.sh "${places[@]}" -- \
    scripts/screenshots.sh --render "$build_dir" "$short/machine" /Users/user /sample
else
  echo "screenshots.sh: no private mount namespace could be made here (scripts/with-places.sh);" \
    "the rows show the machine's folder in $build_dir" >&2
  render "$build_dir/screenshot-machine-in-build"
fi
