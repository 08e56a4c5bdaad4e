#!/usr/bin/env bash
# install-deps.sh [--demo | --fuzz]: installs what Lumisong needs to build, test
# and run on Debian 12; with --demo only what the program and the demo site need
# (scripts/run-demo.sh), with --fuzz also clang and libFuzzer for scripts/fuzz.sh.
# Works as root (a minimal system may have no sudo) and as a user with sudo.
set -euo pipefail

# What building and running the program and the demo site take.
packages=(
    g++ cmake ninja-build pkg-config
    qt6-base-dev qt6-base-dev-tools libgl-dev libxkbcommon-dev
    qt6-qpa-plugins qt6-translations-l10n qt6-l10n-tools
    libcurl4-openssl-dev
    libtag1-dev # audio tags of downloaded songs
    fonts-wqy-microhei
)
# What the tests and benchmarks take besides.
test_packages=(
    build-essential zlib1g-dev libicu-dev
    xvfb xauth
    aria2 wget
    time # the download benchmark reads a child's own peak memory with it
    # Servers the network tests start on loopback, each with its own
    # configuration and ports (a system nginx that the package starts is left alone).
    nginx-light tinyproxy openssl
    desktop-file-utils dpkg-dev file
    ccache # scripts/build.sh: rebuilds of unchanged sources come from its cache
)
case "${1:-}" in
    "") packages+=("${test_packages[@]}") ;;
    --demo) ;;
    --fuzz) packages+=("${test_packages[@]}" clang libclang-rt-dev llvm) ;; # llvm: the symbolizer for readable reports
    *) echo "usage: install-deps.sh [--demo | --fuzz]" >&2; exit 1 ;;
esac

if [ "$(id -u)" -eq 0 ]; then
    as_root=()
elif command -v sudo >/dev/null 2>&1; then
    as_root=(sudo)
else
    echo "install-deps.sh: run this as root, or install sudo first" >&2
    exit 1
fi

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if [ "${#missing[@]}" -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    # env carries the variable through sudo, which would otherwise drop it.
    "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -qq
    "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive \
        apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
