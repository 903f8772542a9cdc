#!/usr/bin/env bash
# The README's picture of the desktop program (docs/kubrix-window.png): the real program on a
# virtual X display (xvfb-run), opened on an example that it runs at start, the main window with the
# parameter grid and the script on the left, the 3D viewer beside it. A copy of the program in a
# temporary folder keeps its settings there, so the window places below never touch your own.
#   bash scripts/readme-screenshot.sh [KUBRIX] [SCRIPT] [OUTPUT]
# (defaults build/kubrix, examples/house.kx, docs/kubrix-window.png; needs ImageMagick's import)
set -euo pipefail
cd "$(dirname "$0")/.."
kubrix=${1:-build/kubrix}
script=$(realpath "${2:-examples/house.kx}")
output=${3:-docs/kubrix-window.png}
[[ -x $kubrix ]] || { echo "the desktop program was not found: $kubrix" >&2; exit 2; }
command -v import >/dev/null || { echo "ImageMagick's import is needed (Debian package imagemagick)" >&2; exit 2; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$kubrix" "$work/kubrix"
# Main window at the left edge, the viewer beside it (F2: the viewer's place and size).
printf '[Form]\r\nF1X=0\r\nF1Y=0\r\nF1W=880\r\nF1H=600\r\nF2X=885\r\nF2Y=0\r\nF2W=640\r\nF2H=600\r\n' >"$work/Kubrix.ini"

# Runs on the virtual display: start the program, wait for the viewer to draw, grab the screen.
cat >"$work/shoot.sh" <<'EOF'
set -euo pipefail
work=$1 script=$2
QT_QPA_PLATFORM=xcb "$work/kubrix" "$script" >"$work/kubrix.log" 2>&1 &
pid=$!
sleep "${SHOT_DELAY:-6}"
import -window root -crop 1525x600+0+0 +repage "$work/shot.png"
kill "$pid"
EOF
xvfb-run -a -s "-screen 0 1600x900x24" bash "$work/shoot.sh" "$work" "$script"
mkdir -p "$(dirname "$output")"
cp "$work/shot.png" "$output"
echo "$output"
