#!/usr/bin/env bash
# Full test run: format check, then build and test the debug, asan (ASan+UBSan)
# and tsan presets. Used as is by CI (.ci/run).
#
#   scripts/test.sh                 # every stage
#   scripts/test.sh debug asan      # only the named stages (format, debug, asan, tsan, package)
#
# All tests run under one Xvfb server started here (the widget tests labelled
# x11 need a real X server; the others use Qt's offscreen platform). Works
# without a terminal and without $DISPLAY. Stops at the first failure.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"

all_stages=(format debug asan tsan package)
if [[ $# -gt 0 ]]; then
    stages=("$@")
    for s in "${stages[@]}"; do
        [[ " ${all_stages[*]} " == *" $s "* ]] || {
            echo "test.sh: unknown stage '$s' (known: ${all_stages[*]})" >&2
            exit 2
        }
    done
else
    stages=("${all_stages[@]}")
fi

export CMAKE_BUILD_PARALLEL_LEVEL=2
jobs=2

# ---------------------------------------------------------------------------
# Bookkeeping: stage timings and test counts for the summary.
summary=()
total_passed=0
total_failed=0
current_stage=""
stage_start=0
workdir=$(mktemp -d "${TMPDIR:-/tmp}/fc-test.XXXXXX")
xvfb_pid=""

cleanup() {
    local rc=$?
    if [[ -n $xvfb_pid ]]; then
        kill "$xvfb_pid" 2>/dev/null || true
        wait "$xvfb_pid" 2>/dev/null || true
    fi
    rm -rf "$workdir"
    if [[ $rc -ne 0 ]]; then
        echo >&2
        local where=""
        [[ -z $current_stage ]] || where=" in stage $current_stage"
        echo "test.sh: FAILED$where (exit code $rc)" >&2
        print_summary >&2
    fi
}
trap cleanup EXIT

begin_stage() {
    current_stage=$1
    stage_start=$SECONDS
    echo
    echo "=== [$current_stage] $2"
}

end_stage() {
    summary+=("$(printf '%-8s ok   %4ds  %s' "$current_stage" $((SECONDS - stage_start)) "$1")")
    current_stage=""
}

print_summary() {
    echo "=== Summary"
    local line
    for line in "${summary[@]}"; do
        echo "  $line"
    done
    echo "  total    $((SECONDS))s"
}

# ---------------------------------------------------------------------------
# Xvfb: one server for the whole run. -displayfd lets the server pick a free
# display number itself and write it once it accepts connections.
start_xvfb() {
    local fdfile="$workdir/xvfb.display" i
    : >"$fdfile"
    Xvfb -displayfd 3 -screen 0 1920x1080x24 -noreset -nolisten tcp \
        3>"$fdfile" >"$workdir/xvfb.log" 2>&1 &
    xvfb_pid=$!
    for ((i = 0; i < 100; i++)); do
        if [[ -s $fdfile ]]; then
            break
        fi
        if ! kill -0 "$xvfb_pid" 2>/dev/null; then
            echo "test.sh: Xvfb exited at start-up:" >&2
            cat "$workdir/xvfb.log" >&2
            exit 1
        fi
        sleep 0.1
    done
    local num
    num=$(tr -dc '0-9' <"$fdfile")
    if [[ -z $num ]]; then
        echo "test.sh: Xvfb did not start within 10 s" >&2
        cat "$workdir/xvfb.log" >&2
        exit 1
    fi
    export DISPLAY=":$num"
    unset WAYLAND_DISPLAY
    # Qt wants a private runtime directory; CI has none.
    if [[ -z ${XDG_RUNTIME_DIR:-} ]]; then
        export XDG_RUNTIME_DIR="$workdir/runtime"
        mkdir -m 700 "$XDG_RUNTIME_DIR"
    fi
    xdpyinfo >/dev/null || {
        echo "test.sh: Xvfb on $DISPLAY does not answer" >&2
        exit 1
    }
    echo "test.sh: Xvfb running on $DISPLAY (pid $xvfb_pid)"
}

# ---------------------------------------------------------------------------
# run_ctest <preset> <no-tests: error|ignore> <ctest args...>
# Runs ctest, echoing its output, and adds its counts to the totals.
run_ctest() {
    local preset=$1 no_tests=$2
    shift 2
    local log="$workdir/ctest.log"
    echo "--- ctest --preset $preset $*"
    ctest --preset "$preset" --no-tests="$no_tests" "$@" 2>&1 | tee "$log"
    # "100% tests passed, 0 tests failed out of 12"
    local line failed total
    line=$(grep -E '^[0-9]+% tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -n 1 || true)
    if [[ -n $line ]]; then
        failed=$(sed -E 's/.* ([0-9]+) tests? failed out of.*/\1/' <<<"$line")
        total=$(sed -E 's/.* out of ([0-9]+).*/\1/' <<<"$line")
        total_passed=$((total_passed + total - failed))
        total_failed=$((total_failed + failed))
        ctest_count=$((ctest_count + total))
    fi
}

# build_and_test <preset> <description>
# Configures and builds the preset, then runs its tests: the offscreen ones in
# parallel, the x11 ones one at a time (they share one X server and its focus).
build_and_test() {
    local preset=$1
    begin_stage "$preset" "$2"
    cmake --preset "$preset"
    cmake --build --preset "$preset" -j"$jobs"
    ctest_count=0
    run_ctest "$preset" error -j"$jobs" -LE x11
    run_ctest "$preset" ignore -j1 -L x11
    end_stage "$ctest_count tests"
}

# ---------------------------------------------------------------------------
begin_stage setup "install missing packages"
bash "$root/scripts/setup.sh" test
end_stage "packages present"

for stage in "${stages[@]}"; do
    case $stage in
        format)
            begin_stage format "clang-format --dry-run --Werror"
            # Sources under src/ tests/ bench/: tracked ones, plus new ones not
            # yet added (but not ignored), so they are checked before a commit.
            files=()
            if git -C "$root" rev-parse --is-inside-work-tree >/dev/null 2>&1; then
                while IFS= read -r -d '' f; do
                    if [[ -f $f ]]; then files+=("$f"); fi
                done < <(git ls-files -z --cached --others --exclude-standard \
                    -- 'src/*.cpp' 'src/*.h' 'tests/*.cpp' 'tests/*.h' \
                    'bench/*.cpp' 'bench/*.h' | sort -zu)
            else
                while IFS= read -r -d '' f; do
                    files+=("$f")
                done < <(find src tests bench \( -name '*.cpp' -o -name '*.h' \) \
                    -type f -print0 2>/dev/null | sort -z)
            fi
            if [[ ${#files[@]} -eq 0 ]]; then
                echo "test.sh: no C++ sources found to check" >&2
                exit 1
            fi
            clang-format --version
            clang-format --dry-run --Werror "${files[@]}"
            end_stage "${#files[@]} files checked"
            ;;
        debug | asan)
            [[ -n $xvfb_pid ]] || start_xvfb
            if [[ $stage == debug ]]; then
                build_and_test debug "debug build, warnings as errors"
            else
                build_and_test asan "AddressSanitizer + UndefinedBehaviorSanitizer"
            fi
            ;;
        tsan)
            [[ -n $xvfb_pid ]] || start_xvfb
            begin_stage tsan "ThreadSanitizer (tests labelled tsan)"
            if [[ ! -f tests/tsan.supp ]]; then
                # The tsan test preset points TSAN_OPTIONS at this file, and
                # TSan aborts when a suppressions file cannot be read.
                echo "test.sh: note: tests/tsan.supp is missing; TSan refuses to start without it" >&2
            fi
            cmake --preset tsan
            cmake --build --preset tsan -j"$jobs"
            ctest_count=0
            # Only the tests labelled tsan; none labelled yet is not an error.
            run_ctest tsan ignore -j1 -L tsan
            end_stage "$ctest_count tests"
            ;;
        package)
            begin_stage package "release build, .deb package unpacked and checked"
            bash "$root/scripts/check-package.sh"
            end_stage "deb ok"
            ;;
    esac
done

echo
print_summary
# One plain closing line with the totals of every ctest run above.
echo "ctest: $total_passed passed, $total_failed failed"
