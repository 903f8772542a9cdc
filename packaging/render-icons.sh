#!/usr/bin/env bash
# Renders the program icon kubrix.svg into the PNG sizes of the hicolor icon theme
# (icons/<N>x<N>/kubrix.png). Run after changing the SVG; needs rsvg-convert (librsvg2-bin).
set -euo pipefail
cd "$(dirname "$0")/icons"
for n in 16 22 24 32 48 64 128 256; do
  mkdir -p "${n}x${n}"
  rsvg-convert -w "$n" -h "$n" kubrix.svg -o "${n}x${n}/kubrix.png"
done
