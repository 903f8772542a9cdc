#!/usr/bin/env bash
# Draws the pictures of the examples (docs/gallery/NAME.png) with kubrix-run, without a display:
# the viewer's "X-Y-Z" view in the element colours, without the axes; drawings read in plan (the
# dimensioned plate) from above. The viewer shows a model at a fixed scale, small in its picture, so
# each example is drawn twice: once to measure the model, then at the size where it fills a
# 440 x 320 frame, cut out and centred on a white 480 x 360 picture (ImageMagick's mogrify).
#   bash scripts/gallery.sh [BUILD]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
command -v mogrify >/dev/null || { echo "ImageMagick is needed (Debian package imagemagick)" >&2; exit 2; }
# The view of a picture: xyz unless named here.
declare -A viewOf=([dimensions]=xy)
mkdir -p docs/gallery
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# draw SCRIPT VIEW WxH FILE: the picture, cut to the model
draw() {
  "$build/kubrix-run" --log-off --color --no-axes --view "$2" --size "$3" -o "$4" "$1"
  mogrify -trim +repage "$4"
}

for script in examples/*.kx; do
  name=$(basename "$script" .kx)
  view=${viewOf[$name]:-xyz}
  draw "$script" "$view" 1440x1080 "$work/probe.png"
  size=$(identify -format '%w %h' "$work/probe.png" |
    awk '{ f = 440 / $1; if (320 / $2 < f) f = 320 / $2; printf "%dx%d", 1440 * f, 1080 * f }')
  draw "$script" "$view" "$size" "docs/gallery/$name.png"
  mogrify -background white -gravity center -extent 480x360 "docs/gallery/$name.png"
  echo "docs/gallery/$name.png"
done
