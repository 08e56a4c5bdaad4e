#!/usr/bin/env bash
# Installs what is needed, builds, starts the demo site on 127.0.0.1 and opens
# Lumisong on it. Without a display (no DISPLAY or WAYLAND_DISPLAY) it prints the
# headless listing of the demo site instead.
#   LUMISONG_DEMO_PORT  port of the demo site (default: any free port)
#   LUMISONG_DEMO_SONGS number of songs on the demo page (default 150)
#   LUMISONG_DEMO_VERSION version the demo's version page announces (default:
#                       this build's own, so no update dialog; e.g. 1.2.0 brings it up)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh" --demo
# Only the program and the demo site: the tests build with the test command.
# A unity build parses Qt's headers once per batch of sources instead of once
# per source: a first build takes well under half the time.
LUMISONG_BUILD_TARGETS="lumisong lumisong-demosite" "$root/scripts/build.sh" "$root/build" \
    -DLUMISONG_BUILD_TESTS=OFF -DCMAKE_UNITY_BUILD=ON

lumisong="$root/build/app/lumisong"
demosite="$root/build/tools/demosite/lumisong-demosite"
log=$(mktemp)
version_args=()
if [ -n "${LUMISONG_DEMO_VERSION:-}" ]; then
    version_args=(--version "$LUMISONG_DEMO_VERSION")
fi
"$demosite" --port "${LUMISONG_DEMO_PORT:-0}" --songs "${LUMISONG_DEMO_SONGS:-150}" \
    "${version_args[@]}" >"$log" 2>&1 &
demo_pid=$!
trap 'kill "$demo_pid" 2>/dev/null || true; rm -f "$log"' EXIT

# The demo site prints its address once it listens.
site=
for _ in $(seq 100); do
    site=$(sed -n 's|^Demo site: \(http://[^/ ]*\)/.*|\1|p' "$log")
    [ -n "$site" ] && break
    if ! kill -0 "$demo_pid" 2>/dev/null; then
        cat "$log" >&2
        echo "run-demo.sh: the demo site did not start" >&2
        exit 1
    fi
    sleep 0.1
done
if [ -z "$site" ]; then
    echo "run-demo.sh: the demo site did not report its address" >&2
    exit 1
fi
echo "Demo site running at $site/"

if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
    "$lumisong" --site "$site" --update-url "$site/version.html"
else
    echo "No display found: listing the demo site's songs without a window"
    echo "(lumisong --site $site --list)"
    "$lumisong" --site "$site" --list
fi
