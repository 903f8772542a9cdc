#!/usr/bin/env bash
# Side by side with OpenSCAD: the same solid written as ASCII STL by kubrix-run and by OpenSCAD, run
# alternately, reporting the median wall time and the median peak memory (/usr/bin/time) of each.
#   SPHERE a, 1000, 1, 0         vs  sphere(r=1, $fn=1000)            (about 10^6 facets each)
#   TORUS a, 100, 100, 1, 3, 0   vs  rotate_extrude($fn=100) of a circle($fn=100) at radius 3
# Usage: bench/openscad_compare.sh [KUBRIX_RUN] [ROUNDS]   (defaults build/kubrix-run, 5)
# Without OpenSCAD (Debian package openscad) only kubrix-run is measured.
set -euo pipefail
runner=${1:-build/kubrix-run}
rounds=${2:-5}
[[ -x $runner ]] || { echo "kubrix-run not found: $runner" >&2; exit 2; }
[[ -x /usr/bin/time ]] || { echo "/usr/bin/time is needed (Debian package time)" >&2; exit 2; }
openscad=$(command -v openscad || true)
[[ -n $openscad ]] || echo "OpenSCAD is not installed: measuring kubrix-run only"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

printf '#VAR\r\na\r\n#DRAW\r\nSPHERE a, 1000, 1, 0\r\n' >"$work/sphere.kx"
printf 'sphere(r=1, $fn=1000);\n' >"$work/sphere.scad"
printf '#VAR\r\na\r\n#DRAW\r\nTORUS a, 100, 100, 1, 3, 0\r\n' >"$work/torus.kx"
printf 'rotate_extrude($fn=100) translate([3, 0, 0]) circle(r=1, $fn=100);\n' >"$work/torus.scad"

# measure TOOL CASE: appends "seconds kilobytes" to $work/TOOL.CASE and leaves the STL in $work/out.stl
measure() {
  local tool=$1 name=$2
  rm -f "$work/out.stl"
  if [[ $tool == kubrix ]]; then
    /usr/bin/time -f "%e %M" -o "$work/t" "$runner" --log-off -o "$work/out.stl" "$work/$name.kx" >/dev/null
  else
    /usr/bin/time -f "%e %M" -o "$work/t" "$openscad" --export-format asciistl -o "$work/out.stl" \
      "$work/$name.scad" >/dev/null 2>&1
  fi
  cat "$work/t" >>"$work/$tool.$name"
  grep -c "facet normal" "$work/out.stl" >"$work/$tool.$name.facets"
}

median() {  # median of column $2 of file $1
  sort -g -k"$2","$2" "$1" | awk -v c="$2" '{v[NR] = $c} END {print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2}'
}

for name in sphere torus; do
  for ((i = 0; i < rounds; ++i)); do
    measure kubrix "$name"
    [[ -n $openscad ]] && measure openscad "$name"
  done
done

printf '%-7s %-9s %10s %12s %10s\n' case tool "median s" "peak MB" facets
for name in sphere torus; do
  for tool in kubrix openscad; do
    [[ -f $work/$tool.$name ]] || continue
    s=$(median "$work/$tool.$name" 1)
    kb=$(median "$work/$tool.$name" 2)
    printf '%-7s %-9s %10.2f %12.0f %10s\n' "$name" "$tool" "$s" "$(echo "$kb / 1024" | bc -l)" \
      "$(cat "$work/$tool.$name.facets")"
  done
  if [[ -f $work/openscad.$name ]]; then
    printf '%-7s openscad / kubrix time: %.1f\n' "$name" \
      "$(echo "$(median "$work/openscad.$name" 1) / $(median "$work/kubrix.$name" 1)" | bc -l)"
  fi
done
