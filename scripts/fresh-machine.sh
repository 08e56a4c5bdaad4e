#!/usr/bin/env bash
# fresh-machine.sh 'COMMAND': runs COMMAND as root in a new, minimal Debian 12
# root (debootstrap --variant=minbase) holding a clean clone of this
# repository's HEAD, as a new user on a fresh machine would run it, e.g.
#
#     bash scripts/fresh-machine.sh 'bash scripts/run-tests.sh'
#
# Only the debootstrap result is cached (a tarball under ~/.cache/lumisong);
# every run unpacks it anew, so nothing installed by an earlier run is there.
# The root shares this machine's network (so loopback tests work) but runs in
# mount and PID namespaces of its own: its mounts and every process it starts
# end with it. No service is started by a package inside it.
#
# COMMAND's output goes to a log; its last lines are shown when it fails.
#   LUMISONG_FRESH_CACHE  cache folder (default ~/.cache/lumisong)
#   LUMISONG_FRESH_KEEP   set to 1 to keep the root and its log afterwards
#   LUMISONG_FRESH_LINES  lines of the log shown on failure (default 80)
set -euo pipefail

if [ $# -ne 1 ]; then
    echo "usage: fresh-machine.sh 'COMMAND'" >&2
    exit 1
fi
command_line=$1
repo=$(cd "$(dirname "$0")/.." && pwd)

if [ "$(id -u)" -ne 0 ]; then
    command -v sudo >/dev/null 2>&1 || { echo "fresh-machine.sh: run this as root, or install sudo first" >&2; exit 1; }
    exec sudo env LUMISONG_FRESH_CACHE="${LUMISONG_FRESH_CACHE:-$HOME/.cache/lumisong}" \
        LUMISONG_FRESH_KEEP="${LUMISONG_FRESH_KEEP:-}" LUMISONG_FRESH_LINES="${LUMISONG_FRESH_LINES:-}" \
        bash "$0" "$command_line"
fi

cache=${LUMISONG_FRESH_CACHE:-$HOME/.cache/lumisong}
lines=${LUMISONG_FRESH_LINES:-80}
suite=bookworm

step_start=$SECONDS
step() { # prints how long the previous step took, then names the next one
    local now=$SECONDS
    [ -n "${step_name:-}" ] && printf 'fresh-machine: %-28s %4d s\n' "$step_name" $((now - step_start))
    step_name=$1
    step_start=$now
}

# The mirror this machine's apt already uses.
mirror=$(sed -n 's/^URIs:[[:space:]]*\([^[:space:]]*\/debian\)\/\?[[:space:]]*$/\1/p' \
    /etc/apt/sources.list.d/*.sources 2>/dev/null | head -n 1)
[ -n "$mirror" ] || mirror=$(sed -n 's/^deb[[:space:]]\+\(http[^[:space:]]*\/debian\)\/\?[[:space:]].*/\1/p' \
    /etc/apt/sources.list 2>/dev/null | head -n 1)
mirror=${mirror:-http://deb.debian.org/debian}

for tool in debootstrap unshare git; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        step "installing $tool on the host"
        env DEBIAN_FRONTEND=noninteractive apt-get update -qq
        env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
            debootstrap util-linux git >/dev/null
    fi
done

tarball="$cache/debian12-minbase-$(echo "$mirror" | md5sum | cut -c1-8).tar"
if [ ! -s "$tarball" ]; then
    step "debootstrap (cached after)"
    mkdir -p "$cache"
    staging=$(mktemp -d "${TMPDIR:-/var/tmp}/lumisong-minbase.XXXXXX")
    if ! debootstrap --variant=minbase "$suite" "$staging" "$mirror" >"$staging.log" 2>&1; then
        tail -n "$lines" "$staging.log" >&2
        rm -rf "$staging" "$staging.log"
        echo "fresh-machine.sh: debootstrap failed" >&2
        exit 1
    fi
    tar --numeric-owner -C "$staging" -cf "$tarball.new" . && mv "$tarball.new" "$tarball"
    rm -rf "$staging" "$staging.log"
fi

step "unpacking the root"
work=$(mktemp -d "${TMPDIR:-/var/tmp}/lumisong-fresh.XXXXXX")
log="$work/command.log"
cleanup() {
    if [ "${LUMISONG_FRESH_KEEP:-}" = 1 ]; then
        echo "fresh-machine: kept $work (log: $log)"
    else
        rm -rf "$work"
    fi
}
trap cleanup EXIT
root="$work/root"
mkdir "$root"
tar --numeric-owner -C "$root" -xf "$tarball"
chmod 755 "$root" # as a system's / is; the staging folder it was packed from was private

# A fresh Debian 12 system's package sources: the release, its updates and
# its security fixes.
security=${mirror%/debian}/debian-security
cat >"$root/etc/apt/sources.list" <<EOF
deb $mirror $suite main
deb $mirror $suite-updates main
deb $security $suite-security main
EOF
cp /etc/resolv.conf "$root/etc/resolv.conf" 2>/dev/null || true
# The machine's name and hosts file as Debian's installer writes them
# (debootstrap leaves them out): the root shares this machine's name.
name=$(hostname)
echo "$name" >"$root/etc/hostname"
printf '127.0.0.1\tlocalhost\n127.0.1.1\t%s\n\n::1\tlocalhost ip6-localhost ip6-loopback\nff02::1\tip6-allnodes\nff02::2\tip6-allrouters\n' \
    "$name" >"$root/etc/hosts"
# Packages must not start their services: the root shares this machine's
# network, and its processes end with the command.
printf '#!/bin/sh\nexit 101\n' >"$root/usr/sbin/policy-rc.d"
chmod 755 "$root/usr/sbin/policy-rc.d"

step "cloning HEAD"
head=$(git -C "$repo" rev-parse HEAD)
if [ -n "$(git -C "$repo" status --porcelain --untracked-files=no)" ]; then
    echo "fresh-machine: note: uncommitted changes are not part of the clone" >&2
fi
git clone -q --no-hardlinks "$repo" "$root/root/lumisong"
git -C "$root/root/lumisong" checkout -q "$head"
echo "fresh-machine: $head on minimal Debian 12 from $mirror"

step "running: $command_line"
# The new PID namespace ends every process the command leaves behind; the
# mount namespace takes the root's mounts away with it.
status=0
unshare --mount --pid --fork --propagation private bash -c '
    set -e
    root=$1; shift
    mount -t proc proc "$root/proc"
    mount -t sysfs sysfs "$root/sys"
    mount --rbind /dev "$root/dev"
    mount -t tmpfs tmpfs "$root/dev/shm"
    mount -t tmpfs tmpfs "$root/tmp"
    exec chroot "$root" /usr/bin/env -i HOME=/root TERM="${TERM:-dumb}" \
        PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
        bash -c "cd /root/lumisong && $1"
' fresh-machine "$root" "$command_line" >"$log" 2>&1 || status=$?
step ""

if [ "$status" -ne 0 ]; then
    # A failed test's own words come long before the log's end.
    failures=$(grep -E 'FAIL!|error:|Error|FAILED|Failed|Timeout' "$log" | head -n 40 || true)
    if [ -n "$failures" ]; then
        echo "fresh-machine: the lines of its log that name a failure:" >&2
        echo "$failures" >&2
    fi
    echo "fresh-machine: the command failed with status $status; the last $lines lines of its log:" >&2
    tail -n "$lines" "$log" >&2
    exit "$status"
fi
echo "fresh-machine: the command succeeded; the last lines of its log:"
tail -n 15 "$log"
