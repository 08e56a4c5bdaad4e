#!/usr/bin/env bash
# build.sh [build-dir] [extra cmake arguments...]: configures and builds Lumisong.
#   LUMISONG_BUILD_TARGETS  targets to build, separated by blanks (default: all,
#                           tests and benchmarks included)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dir=${1:-"$root/build"}
shift || true
# ccache, where installed, makes rebuilds of unchanged sources cheap.
launcher=()
command -v ccache >/dev/null 2>&1 && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S "$root" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}" "$@"
targets=()
for t in ${LUMISONG_BUILD_TARGETS:-}; do
    targets+=(--target "$t")
done
cmake --build "$dir" --parallel "$(nproc)" "${targets[@]}"
