#!/usr/bin/env bash
# Sets everything up, builds, and runs every test.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
# A unity build, as the demo's: a first build takes well under half the time.
"$root/scripts/build.sh" "$root/build" -DLUMISONG_BUILD_TESTS=ON -DCMAKE_UNITY_BUILD=ON
cd "$root/build"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure --no-tests=error --timeout 300 -j "$(nproc)"
