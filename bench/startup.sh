#!/usr/bin/env bash
# Start-up benchmark: time to the settings window and peak memory.
#
#   bench/startup.sh [BINARY [ARGS...]]
#
# BINARY defaults to build/release/fullscreen-countdown (build it first with
# scripts/run.sh or `cmake --preset release && cmake --build --preset release`);
# ARGS are passed to it. Nothing is built here.
#
# Each run starts the program, then measures
#   (a) the time from the spawn until a visible window whose name matches
#       FC_BENCH_WINDOW is mapped (polled with xdotool in a tight loop, a few
#       ms of resolution), and
#   (b) the peak resident set size (VmHWM in /proc/PID/status), read
#       FC_BENCH_SETTLE_MS after the window appeared,
# and then kills the program. It prints every run and the median and maximum
# of both, and compares them with the targets (PASS/FAIL).
#
# Environment:
#   FC_BENCH_RUNS        number of runs (default 15)
#   FC_BENCH_WINDOW      window name pattern, an xdotool regex (default VelmorTarquane)
#   FC_BENCH_SETTLE_MS   wait after the window appears before reading RSS (default 300)
#   FC_BENCH_TIMEOUT_S   give up on a run whose window is not shown by then (default 10)
#   FC_BENCH_MAX_MS      target for the median start-up time (default 250)
#   FC_BENCH_MAX_RSS_MB  target for the largest peak RSS of all runs, MB of 1024 kB (default 60)
#   DISPLAY              X server to use; when unset, an Xvfb server is started
#                        for the benchmark and stopped at the end.
# To try the mechanics on another X client:
#   FC_BENCH_WINDOW=xmessage bench/startup.sh /usr/bin/xmessage hello
#
# Exit status: 0 when both targets pass, 1 when one fails, 2 on an error.
# The program gets a temporary XDG_CONFIG_HOME, so a run neither reads nor
# overwrites the user's own settings (all runs share it: the first run starts
# with no settings, the others with whatever the program saved).
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

runs=${FC_BENCH_RUNS:-15}
window=${FC_BENCH_WINDOW:-VelmorTarquane}
settle_ms=${FC_BENCH_SETTLE_MS:-300}
timeout_s=${FC_BENCH_TIMEOUT_S:-10}
max_ms=${FC_BENCH_MAX_MS:-250}
max_rss_mb=${FC_BENCH_MAX_RSS_MB:-60}

if [[ $# -gt 0 ]]; then
    binary=$1
    shift
else
    binary="$root/build/release/fullscreen-countdown"
    # Where CMake puts it when no output directory is set.
    [[ -x $binary ]] || binary="$root/build/release/src/fullscreen-countdown"
    [[ -x $binary ]] || binary="$root/build/release/fullscreen-countdown"
fi
args=("$@")

die() {
    echo "startup.sh: $*" >&2
    exit 2
}

[[ $runs =~ ^[1-9][0-9]*$ ]] || die "FC_BENCH_RUNS must be a positive integer"
for v in settle_ms timeout_s max_ms max_rss_mb; do
    [[ ${!v} =~ ^[0-9]+$ ]] || die "$v must be a whole number"
done
if [[ ! -x $binary ]]; then
    binary_path=$(command -v "$binary" 2>/dev/null) || die "no executable '$binary' (build it first: cmake --preset release && cmake --build --preset release)"
    binary=$binary_path
fi
for tool in xdotool xdpyinfo; do
    command -v "$tool" >/dev/null || die "$tool is missing (scripts/setup.sh test installs it)"
done

workdir=$(mktemp -d "${TMPDIR:-/tmp}/fc-bench.XXXXXX")
xvfb_pid=""
app_pid=""

cleanup() {
    if [[ -n $app_pid ]]; then
        kill -KILL "$app_pid" 2>/dev/null || true
        wait "$app_pid" 2>/dev/null || true
    fi
    if [[ -n $xvfb_pid ]]; then
        kill "$xvfb_pid" 2>/dev/null || true
        wait "$xvfb_pid" 2>/dev/null || true
    fi
    rm -rf "$workdir"
}
trap cleanup EXIT

# Start an Xvfb server unless there is a display already. -displayfd makes the
# server choose a free display number and write it once it is ready.
if [[ -z ${DISPLAY:-} ]]; then
    command -v Xvfb >/dev/null || die "no DISPLAY and Xvfb is missing (scripts/setup.sh test installs it)"
    Xvfb -displayfd 3 -screen 0 1920x1080x24 -noreset -nolisten tcp \
        3>"$workdir/display" >"$workdir/xvfb.log" 2>&1 &
    xvfb_pid=$!
    for ((i = 0; i < 100; i++)); do
        [[ -s $workdir/display ]] && break
        kill -0 "$xvfb_pid" 2>/dev/null || die "Xvfb failed: $(cat "$workdir/xvfb.log")"
        sleep 0.1
    done
    num=$(tr -dc '0-9' <"$workdir/display")
    [[ -n $num ]] || die "Xvfb did not start within 10 s"
    export DISPLAY=":$num"
    echo "startup.sh: started Xvfb on $DISPLAY"
fi
xdpyinfo >/dev/null 2>&1 || die "cannot open display $DISPLAY"
unset WAYLAND_DISPLAY
export QT_QPA_PLATFORM=xcb
export XDG_CONFIG_HOME="$workdir/config"
mkdir -p "$XDG_CONFIG_HOME"

# Microseconds since the epoch, without forking (bash 5's EPOCHREALTIME).
now_us() {
    local t=${EPOCHREALTIME/[.,]/}
    echo "$((10#$t))"
}

# One look at the window list (a few ms; `xdotool search --sync` would only
# look every 500 ms, too coarse for this measurement).
window_shown() {
    xdotool search --onlyvisible --name "$window" >/dev/null 2>&1
}

if window_shown; then
    die "a window matching '$window' is already shown on $DISPLAY; close it first"
fi

echo "startup.sh: $binary${args[*]:+ ${args[*]}}, $runs runs, window '$window', display $DISPLAY"
printf '%4s  %10s  %12s\n' run "start (ms)" "peak RSS (MB)"

times_us=()
rss_kb=()
for ((run = 1; run <= runs; run++)); do
    start=$(now_us)
    "$binary" "${args[@]}" >"$workdir/app.log" 2>&1 &
    app_pid=$!
    deadline=$((start + timeout_s * 1000000))
    shown_at=""
    while :; do
        if window_shown; then
            shown_at=$(now_us)
            break
        fi
        if ! kill -0 "$app_pid" 2>/dev/null; then
            wait "$app_pid" && rc=0 || rc=$?
            app_pid=""
            echo "startup.sh: run $run: the program exited (status $rc) before showing its window:" >&2
            tail -n 20 "$workdir/app.log" >&2
            exit 2
        fi
        if (($(now_us) > deadline)); then
            die "run $run: no visible window matching '$window' after ${timeout_s} s"
        fi
    done
    elapsed=$((shown_at - start))

    sleep "$(printf '%d.%03d' $((settle_ms / 1000)) $((settle_ms % 1000)))"
    hwm=$(awk '/^VmHWM:/ {print $2}' "/proc/$app_pid/status" 2>/dev/null || true)
    [[ -n $hwm ]] || die "run $run: the program exited before its memory could be read"

    # Close it and wait until its window is gone, so the next run starts clean.
    kill -TERM "$app_pid" 2>/dev/null || true
    for ((i = 0; i < 50; i++)); do
        kill -0 "$app_pid" 2>/dev/null || break
        sleep 0.02
    done
    kill -KILL "$app_pid" 2>/dev/null || true
    wait "$app_pid" 2>/dev/null || true
    app_pid=""
    for ((i = 0; i < 100; i++)); do
        window_shown || break
        sleep 0.02
    done

    times_us+=("$elapsed")
    rss_kb+=("$hwm")
    awk -v r="$run" -v t="$elapsed" -v m="$hwm" \
        'BEGIN { printf "%4d  %10.1f  %12.1f\n", r, t / 1000, m / 1024 }'
done

# stats <values...>: prints "median max" of whole numbers.
stats() {
    printf '%s\n' "$@" | sort -n | awk '
        { v[NR] = $1 }
        END {
            med = (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2
            print med, v[NR]
        }'
}

read -r t_med t_max < <(stats "${times_us[@]}")
read -r m_med m_max < <(stats "${rss_kb[@]}")

verdict() { # verdict <value> <limit>: PASS when value < limit
    if awk -v v="$1" -v l="$2" 'BEGIN { exit !(v < l) }'; then echo PASS; else echo FAIL; fi
}
t_med_ms=$(awk -v v="$t_med" 'BEGIN { printf "%.1f", v / 1000 }')
t_max_ms=$(awk -v v="$t_max" 'BEGIN { printf "%.1f", v / 1000 }')
m_med_mb=$(awk -v v="$m_med" 'BEGIN { printf "%.1f", v / 1024 }')
m_max_mb=$(awk -v v="$m_max" 'BEGIN { printf "%.1f", v / 1024 }')
v_time=$(verdict "$t_med_ms" "$max_ms")
v_rss=$(verdict "$m_max_mb" "$max_rss_mb")

echo
echo "start-up time: median $t_med_ms ms, max $t_max_ms ms  (target: median < $max_ms ms)  $v_time"
echo "peak RSS:      median $m_med_mb MB, max $m_max_mb MB  (target: max < $max_rss_mb MB)  $v_rss"
[[ $v_time == PASS && $v_rss == PASS ]]
