#!/usr/bin/env bash
# check-package.sh [ROOT]: builds the Debian package and checks it from
# outside: on a fresh Debian 12 root (made with debootstrap in ROOT, default
# build-chroot/, and reused when it is there) it installs the package with
# apt, then runs `lumisong --version` and `lumisong --list` against the demo
# site running on this machine's 127.0.0.1. Needs root; not run by CI.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
chroot_dir=${1:-"$root/build-chroot"}
if [ "$(id -u)" -ne 0 ]; then
    echo "check-package.sh: run this as root (debootstrap and chroot need it)" >&2
    exit 1
fi
command -v debootstrap >/dev/null 2>&1 || {
    DEBIAN_FRONTEND=noninteractive apt-get update -qq
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends debootstrap
}

"$root/scripts/build.sh" "$root/build"
(cd "$root/build" && rm -f lumisong_*.deb && cpack -G DEB)
deb=$(ls "$root"/build/lumisong_*.deb)

if [ ! -x "$chroot_dir/usr/bin/apt-get" ]; then
    debootstrap --variant=minbase bookworm "$chroot_dir"
fi
cp /etc/resolv.conf "$chroot_dir/etc/resolv.conf"
cp "$deb" "$chroot_dir/tmp/"

demo_log=$(mktemp)
"$root/build/tools/demosite/lumisong-demosite" --port 0 --songs 12 >"$demo_log" 2>&1 &
demo_pid=$!
mount -t proc proc "$chroot_dir/proc"
cleanup() {
    kill "$demo_pid" 2>/dev/null || true
    umount "$chroot_dir/proc" 2>/dev/null || true
    rm -f "$demo_log"
}
trap cleanup EXIT

site=
for _ in $(seq 100); do
    site=$(sed -n 's|^Demo site: \(http://[^/ ]*\)/.*|\1|p' "$demo_log")
    [ -n "$site" ] && break
    sleep 0.1
done
[ -n "$site" ] || { cat "$demo_log" >&2; echo "check-package.sh: no demo site" >&2; exit 1; }

# The chroot shares this machine's network, so its 127.0.0.1 is the demo site's.
in_root() { chroot "$chroot_dir" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin LANG=C.UTF-8 "$@"; }
in_root env DEBIAN_FRONTEND=noninteractive apt-get update -qq
in_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "/tmp/$(basename "$deb")"
in_root lumisong --version
in_root lumisong --site "$site" --list
echo "check-package.sh: $(basename "$deb") installs and runs on a fresh Debian 12"
