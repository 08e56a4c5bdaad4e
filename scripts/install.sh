#!/usr/bin/env bash
# Builds Lumisong's Debian package and installs it with apt: the program, its
# desktop entry, its icon and its manual page. Works as root and as a user
# with sudo.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh" "$root/build"
(cd "$root/build" && rm -f lumisong_*.deb && cpack -G DEB)
deb=$(ls "$root"/build/lumisong_*.deb)

as_root=()
[ "$(id -u)" -eq 0 ] || as_root=(sudo)
# apt reads a local package by its path; _apt must be able to reach it.
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
cp "$deb" "$tmp/"
chmod 755 "$tmp"
chmod 644 "$tmp/$(basename "$deb")"
"${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "$tmp/$(basename "$deb")"
echo "Installed: $(command -v lumisong) ($(lumisong --version))"
