#!/usr/bin/env bash
# Draws the pictures of the examples (docs/gallery/NAME.png) with kubrix-run, without a display:
# the viewer's "X-Y-Z" view in the element colours, without the axes; drawings read in plan (the
# dimensioned plate) from above.
#   bash scripts/gallery.sh [BUILD]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
# The view of a picture: xyz unless named here.
declare -A viewOf=([dimensions]=xy)
mkdir -p docs/gallery
for script in examples/*.kx; do
  name=$(basename "$script" .kx)
  "$build/kubrix-run" --log-off --color --no-axes --view "${viewOf[$name]:-xyz}" --size 480x360 \
    -o "docs/gallery/$name.png" "$script"
  echo "docs/gallery/$name.png"
done
