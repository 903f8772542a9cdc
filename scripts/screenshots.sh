#!/usr/bin/env bash
# Pictures of the desktop program on a virtual X display (Xvfb, xcb platform): the main window after
# a run of an example and its log page, the line settings dialog, the colour picker and the other
# settings dialog. They land in $BUILD/screenshots/*.png (BUILD defaults to build).
# Usage: scripts/screenshots.sh [SCRIPT]   (default examples/house.kx)
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD=${BUILD:-build}
SCRIPT=${1:-examples/house.kx}
cmake --build "$BUILD" --target kubrix_screenshots
out="$BUILD/screenshots"
mkdir -p "$out"
xvfb-run -a -s "-screen 0 1920x1080x24" env QT_QPA_PLATFORM=xcb "$BUILD/kubrix_screenshots" "$out" "$SCRIPT"
