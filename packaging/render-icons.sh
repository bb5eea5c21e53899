#!/usr/bin/env bash
# Renders the program's icon (velmora.svg, drawn by hand) into the PNG sizes
# that are committed beside it. Needs rsvg-convert (Debian librsvg2-bin).
set -euo pipefail
cd "$(dirname "$0")/icons"
for size in 16 32 48 64 128 256; do
  rsvg-convert -w "$size" -h "$size" velmora.svg -o "velmora-$size.png"
done
