#!/usr/bin/env bash
# Draws the pictures of the example gallery with kubrix-run, without a display: docs/gallery/NAME.png
# for every examples/NAME.kx, the viewer's picture in the element colours without the axes, from the
# "X-Y-Z" view, or from above for the drawings that are read in plan (the dimensioned plate).
#   scripts/gallery-pictures.sh [BUILD] [SIZE]      BUILD defaults to build, SIZE to 480x360
# Needs a kubrix-run that writes .png pictures (-o NAME.png); it says so and stops otherwise.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
size=${2:-480x360}
runner="$build/kubrix-run"

[[ -x $runner ]] || { echo "no $runner: build first (cmake --build $build)" >&2; exit 2; }
if ! "$runner" --help | grep -q '\.png'; then
  echo "$runner cannot write .png pictures yet (-o NAME.png); nothing drawn" >&2
  exit 2
fi

# The view of each picture: xyz unless named here.
declare -A viewOf=([dimensions]=xy)

mkdir -p docs/gallery
for script in examples/*.kx; do
  name=$(basename "$script" .kx)
  view=${viewOf[$name]:-xyz}
  # Dialogs (shelf.kx asks its dimensions) are cancelled: the example draws with its own values.
  "$runner" --log-off --color --no-axes --view "$view" --size "$size" -o "docs/gallery/$name.png" "$script"
  echo "docs/gallery/$name.png"
done
