#!/usr/bin/env bash
# Builds the release preset and starts the program.
#
#   scripts/run.sh [program arguments...]
#
# Installs what is missing first (scripts/setup.sh run). The program needs a
# display: without $DISPLAY or $WAYLAND_DISPLAY it is built but not started;
# use e.g. `xvfb-run -a scripts/run.sh` on a machine without one.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"

export CMAKE_BUILD_PARALLEL_LEVEL=2

bash "$root/scripts/setup.sh" run
cmake --preset release
cmake --build --preset release -j2

# The program is expected at the top of the build tree; src/ is where CMake
# puts it when no output directory is set.
program=""
for candidate in "$root/build/release/fullscreen-countdown" \
    "$root/build/release/src/fullscreen-countdown"; do
    if [[ -x $candidate ]]; then
        program=$candidate
        break
    fi
done
if [[ -z $program ]]; then
    echo "run.sh: the build did not produce build/release/fullscreen-countdown" >&2
    exit 1
fi

if [[ -z ${DISPLAY:-} && -z ${WAYLAND_DISPLAY:-} ]]; then
    echo "run.sh: built $program, but there is no display (neither DISPLAY nor WAYLAND_DISPLAY is set)." >&2
    echo "run.sh: start it from a desktop session, or under a virtual X server:" >&2
    echo "  xvfb-run -a -s '-screen 0 1920x1080x24' $program" >&2
    exit 1
fi

exec "$program" "$@"
