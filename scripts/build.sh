#!/usr/bin/env bash
# build.sh [build-dir] [extra cmake arguments...]: configures and builds Lumisong.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dir=${1:-"$root/build"}
shift || true
# ccache, where installed, makes rebuilds of unchanged sources cheap.
launcher=()
command -v ccache >/dev/null 2>&1 && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S "$root" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}" "$@"
cmake --build "$dir" --parallel "$(nproc)"
