#!/usr/bin/env bash
# Renders the application icon from its SVG source into the PNG sizes and the
# Windows .ico that are committed beside it. Needs rsvg-convert (librsvg2-bin)
# and ImageMagick; only run when the SVG changes.
set -euo pipefail
cd "$(dirname "$0")"
for s in 16 24 32 48 64 128 256; do
  rsvg-convert -w "$s" -h "$s" fullscreen-countdown.svg -o "fullscreen-countdown-$s.png"
done
convert fullscreen-countdown-{16,24,32,48,64,256}.png fullscreen-countdown.ico
