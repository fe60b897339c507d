#!/usr/bin/env bash
# Configures the build folder. clang is preferred: it builds the property-list fuzz target with
# libFuzzer; with g++ the fuzz target replays its seed corpus instead.
set -euo pipefail
build_dir=${1:-build}
shift || true
cxx=g++
cc=gcc
if command -v clang++ >/dev/null 2>&1 && command -v clang >/dev/null 2>&1; then
  cxx=clang++
  cc=clang
fi
launcher=()
if command -v ccache >/dev/null 2>&1; then
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_COMPILER="$cxx" -DCMAKE_C_COMPILER="$cc" "${launcher[@]}" "$@"
