#!/usr/bin/env bash
# make-pictures.sh [build-dir]: makes the README's pictures in docs/ from the
# real window at work: Lumisong on the demo site under Xvfb with openbox,
# driven by xdotool and taken with ImageMagick's import.
#   docs/frmmain.png      songs listed, some ticked
#   docs/frmmain-run.png  a list-file run with its progress bar
#   docs/frmmain-download.png  a download of the songs with its progress bar
#   docs/frmupdate.png    the update dialog
#   docs/frmmain-200.png  the window at 200 % (QT_SCALE_FACTOR=2)
# Nothing of the user's is touched: settings, lock and lists live in a
# temporary home that goes when the script ends.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-"$root/build"}
docs="$root/docs"

packages=(xvfb xauth openbox xdotool imagemagick fonts-wqy-microhei)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ "${#missing[@]}" -gt 0 ]; then
    as_root=()
    [ "$(id -u)" -eq 0 ] || as_root=(sudo)
    "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -qq
    "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive \
        apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
[ -x "$build/app/lumisong" ] || "$root/scripts/build.sh" "$build"

work=$(mktemp -d)
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    rm -rf "$work"
}
trap cleanup EXIT
export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_RUNTIME_DIR="$work/run"
mkdir -p "$HOME/Music" "$XDG_CONFIG_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
export LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8

# The demo site; $1: extra options. Sets $site.
start_site() {
    local log="$work/site.log"
    : >"$log"
    "$build/tools/demosite/lumisong-demosite" --port 0 --songs 150 "$@" >"$log" 2>&1 &
    pids+=($!)
    site=
    for _ in $(seq 100); do
        site=$(sed -n 's|^Demo site: \(http://[^/ ]*\)/.*|\1|p' "$log")
        [ -n "$site" ] && return
        sleep 0.1
    done
    echo "make-pictures.sh: the demo site did not start" >&2
    exit 1
}

# A display of WxH with a window manager; $1: display number, $2: WxH.
start_display() {
    export DISPLAY=":$1"
    Xvfb "$DISPLAY" -screen 0 "${2}x24" -nolisten tcp >/dev/null 2>&1 &
    pids+=($!)
    for _ in $(seq 50); do xdotool getdisplaygeometry >/dev/null 2>&1 && break; sleep 0.1; done
    openbox >/dev/null 2>&1 &
    pids+=($!)
    sleep 1
}

# Starts Lumisong with extra environment "$@" and waits for its window ($window).
start_lumisong() {
    env "$@" "$build/app/lumisong" --site "$site" --update-url "$site/version.html" >/dev/null 2>&1 &
    lumisong_pid=$!
    pids+=($lumisong_pid)
    window=
    for _ in $(seq 100); do
        window=$(xdotool search --onlyvisible --pid "$lumisong_pid" 2>/dev/null | head -1) || true
        [ -n "$window" ] && return
        sleep 0.1
    done
    echo "make-pictures.sh: no window appeared" >&2
    exit 1
}

stop_lumisong() {
    kill "$lumisong_pid" 2>/dev/null || true
    wait "$lumisong_pid" 2>/dev/null || true
}

# Takes window $1 (its frame is the window itself: it is borderless) as $2.
shoot() {
    local X Y WIDTH HEIGHT
    eval "$(xdotool getwindowgeometry --shell "$1" | grep -E '^(X|Y|WIDTH|HEIGHT)=')"
    import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$2"
    echo "made $2 (${WIDTH}x${HEIGHT} at $X,$Y)"
}

# Clicks at (x, y) of window $1, in its own pixels.
click_in() {
    xdotool mousemove --window "$1" "$2" "$3" click 1
}

# --- the song list, ticked, and a run ----------------------------------------
start_site --latency 150
start_display 71 1280x800
start_lumisong
sleep 4 # the version check, then the catalogue
click_in "$window" 300 60          # the first song: the list has the keys
xdotool key space Down Down space Down space Down Down Down space
sleep 0.3
shoot "$window" "$docs/frmmain.png"

# A run of every song: Alt+A ticks them, Tab then reaches 生成列表 from the list.
xdotool key alt+a
click_in "$window" 300 60
xdotool key Tab Return
sleep 1.5 # the save dialog
xdotool type --delay 20 "songs"
xdotool key Return
sleep 2
shoot "$window" "$docs/frmmain-run.png"
sleep 5 # the run's end and its message
xdotool key Return
# A download of every song into the music folder, which the folder dialog offers.
xdotool key alt+d
sleep 1.5
xdotool key Return
sleep 8 # the addresses, then the files
shoot "$window" "$docs/frmmain-download.png"
stop_lumisong

# --- the update dialog ---------------------------------------------------------
start_site --version 1.2.0
start_lumisong
sleep 3
dialog=$(xdotool getactivewindow)
shoot "$dialog" "$docs/frmupdate.png"
stop_lumisong

# --- 200 % ---------------------------------------------------------------------------
start_site
start_display 72 1920x1200
start_lumisong QT_SCALE_FACTOR=2
sleep 4
click_in "$window" 300 60
xdotool key space Down space
sleep 0.3
shoot "$window" "$docs/frmmain-200.png"
stop_lumisong
