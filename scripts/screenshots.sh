#!/usr/bin/env bash
# Takes the README's screenshots of the real program under Xvfb at 1920x1080,
# driven with xdotool: the settings window, the still and the scrolling display,
# and the time flashing in the final seconds. Writes docs/*.png.
#
#   scripts/screenshots.sh            (builds the release program first)
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
bash scripts/setup.sh test >/dev/null
cmake --preset release >/dev/null
cmake --build --preset release -j2 >/dev/null
program=build/release/fullscreen-countdown
mkdir -p docs

work=$(mktemp -d "${TMPDIR:-/tmp}/fc-shots.XXXXXX")
Xvfb -displayfd 3 -screen 0 1920x1080x24 -noreset -nolisten tcp 3>"$work/display" >/dev/null 2>&1 &
xvfb=$!
app=""
cleanup() {
    [[ -z $app ]] || kill "$app" 2>/dev/null || true
    kill "$xvfb" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
for _ in $(seq 100); do [[ -s $work/display ]] && break; sleep 0.1; done
export DISPLAY=":$(tr -dc 0-9 <"$work/display")"
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"

"$program" >/dev/null 2>&1 &
app=$!
settings=$(xdotool search --sync --onlyvisible --name VelmorTarquane | head -n 1)
sleep 0.5
key() { xdotool key --delay 40 "$@"; sleep 0.15; }
shot() { import -window root "$work/full.png"; }

# The settings window, filled in: 5 minutes, a title of four characters.
key Tab
xdotool type 5
key Tab
xdotool type 0
key Tab Tab Tab Tab
xdotool type --delay 60 '年度大会'
key shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab
import -window "$settings" docs/settings-window.png

# Still title.
key space
sleep 1
shot
convert "$work/full.png" -resize 50% docs/display-static.png

# Scrolling title: back to the settings, pick the second entry, open again.
key Escape
sleep 0.5
key shift+Tab Down Tab space
sleep 2.5
shot
convert "$work/full.png" -resize 50% docs/display-scroll.png

# The flash: 10 seconds, flashing in the last 9, started with F2.
key Escape
sleep 0.5
key shift+Tab Up Tab
key Tab ctrl+a BackSpace Tab
xdotool type 10
key Tab
xdotool type 9
key shift+Tab shift+Tab shift+Tab
key space
sleep 0.8
key F2
sleep 1.9
shot
convert "$work/full.png" -resize 50% "$work/a.png"
sleep 0.5
shot
convert "$work/full.png" -resize 50% "$work/b.png"
convert "$work/a.png" "$work/b.png" -append -resize 50% docs/display-flash.png
key Escape
sleep 0.3
echo "screenshots written to docs/"
