#!/usr/bin/env bash
# Sets everything up, builds, and runs every test.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh" "$root/build" -DLUMISONG_BUILD_TESTS=ON
cd "$root/build"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure --no-tests=error --timeout 300 -j "$(nproc)"
