#!/usr/bin/env bash
# Draws the pictures of the examples (docs/gallery/NAME.png) with kubrix-run, without a display:
# the viewer's "X-Y-Z" view in the element colours, without the axes.
#   bash scripts/gallery.sh [BUILD]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
mkdir -p docs/gallery
for script in examples/*.kx; do
  name=$(basename "$script" .kx)
  "$build/kubrix-run" --log-off --color --no-axes --size 480x360 -o "docs/gallery/$name.png" "$script"
  echo "docs/gallery/$name.png"
done
