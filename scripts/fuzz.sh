#!/usr/bin/env bash
# fuzz.sh [SECONDS]: builds the fuzz targets of tests/fuzz with clang, libFuzzer,
# AddressSanitizer and UndefinedBehaviorSanitizer (in build-fuzz) and runs each
# for SECONDS (default 30) from its seeds and past findings. A crash, a failed
# check, a leak, an input that takes more than a second or more than 2 GiB
# fails the script; the input that caused it stays in
# build-fuzz/fuzz-findings/<surface>/ and is named in the output.
#   LUMISONG_FUZZ_TARGETS  surfaces to run, separated by blanks (default: all)
#   LUMISONG_FUZZ_JOBS     targets run side by side (default: the number of cores)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-30}
if ! [[ "$seconds" =~ ^[1-9][0-9]*$ ]]; then
    echo "usage: scripts/fuzz.sh [SECONDS]" >&2
    exit 1
fi

"$root/scripts/install-deps.sh" --fuzz

build="$root/build-fuzz"
launcher=()
command -v ccache >/dev/null 2>&1 && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DLUMISONG_FUZZ=ON "${launcher[@]}" >/dev/null
cmake --build "$build" --target lumisong_fuzzers --parallel "$(nproc)"

export ASAN_OPTIONS="detect_leaks=1:abort_on_error=0"
export LSAN_OPTIONS="suppressions=$root/scripts/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
export QT_QPA_PLATFORM=offscreen
export XDG_CONFIG_HOME="$build/fuzz-home/config" XDG_DATA_HOME="$build/fuzz-home/data"
export XDG_CACHE_HOME="$build/fuzz-home/cache" XDG_STATE_HOME="$build/fuzz-home/state"

# One line per target: surface, then the largest input it takes.
declare -A max_len=()
targets=()
while IFS=$'\t' read -r surface limit; do
    max_len[$surface]=$limit
    targets+=("$surface")
done <"$build/fuzz-targets.txt"
if [ -n "${LUMISONG_FUZZ_TARGETS:-}" ]; then
    targets=()
    for surface in $LUMISONG_FUZZ_TARGETS; do
        if [ -z "${max_len[$surface]:-}" ]; then
            echo "fuzz.sh: no fuzz target $surface" >&2
            exit 1
        fi
        targets+=("$surface")
    done
fi

# Runs one target; its log goes to build-fuzz/fuzz-logs/<surface>.log.
run_target() {
    local surface=$1
    local work="$build/fuzz-corpus/$surface" findings="$build/fuzz-findings/$surface"
    mkdir -p "$work" "$findings" "$build/fuzz-logs"
    local args=(-max_total_time="$seconds" -max_len="${max_len[$surface]}" -rss_limit_mb=2048
                -timeout=1 -print_final_stats=1 -artifact_prefix="$findings/")
    [ -f "$root/tests/fuzz/dict/$surface.dict" ] && args+=(-dict="$root/tests/fuzz/dict/$surface.dict")
    # New inputs go to the first folder; the seeds and past findings are only read.
    local inputs=("$work" "$root/tests/fuzz/corpus/$surface")
    [ -d "$root/tests/fuzz/regressions/$surface" ] && inputs+=("$root/tests/fuzz/regressions/$surface")
    "$build/tests/fuzz/fuzz_$surface" "${args[@]}" "${inputs[@]}" >"$build/fuzz-logs/$surface.log" 2>&1
}

report() {
    local surface=$1 status=$2 log="$build/fuzz-logs/$1.log"
    local runs
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
    if [ "$status" -eq 0 ]; then
        echo "fuzz_$surface: ${runs:-?} runs in ${seconds} s, no finding"
        return 0
    fi
    echo "fuzz_$surface: FAILED (exit status $status); the end of $log:"
    tail -n 40 "$log" | sed 's/^/    /'
    local unit
    unit=$(sed -n 's/.*Test unit written to //p' "$log" | tail -n 1)
    if [ -z "$unit" ]; then
        echo "fuzz_$surface: no reproducer written (it failed before or between inputs)"
        return 1
    fi
    # The time limit is wall-clock time: a machine busy with other work can
    # stall an input that is quick on its own, so a timeout counts only when
    # the input takes more than a second again.
    if [[ "$(basename "$unit")" == timeout-* ]] &&
        "$build/tests/fuzz/fuzz_$surface" -timeout=1 "$unit" >"$log.replay" 2>&1; then
        echo "fuzz_$surface: the timeout did not repeat when $unit ran alone; not counted"
        return 0
    fi
    echo "fuzz_$surface: reproducer $unit"
    echo "fuzz_$surface: replay with $build/tests/fuzz/fuzz_$surface $unit"
    return 1
}

jobs=${LUMISONG_FUZZ_JOBS:-$(nproc)}
declare -A running=()
passed=0
failed=0
finish_one() {
    local pid status=0
    wait -n -p pid "${!running[@]}" || status=$?
    if report "${running[$pid]}" "$status"; then
        passed=$((passed + 1))
    else
        failed=$((failed + 1))
    fi
    unset "running[$pid]"
}
for surface in "${targets[@]}"; do
    while [ "${#running[@]}" -ge "$jobs" ]; do
        finish_one
    done
    echo "fuzz_$surface: running for $seconds s"
    run_target "$surface" &
    running[$!]=$surface
done
while [ "${#running[@]}" -gt 0 ]; do
    finish_one
done

# One target with no finding in its time is one passed.
echo "fuzz: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
