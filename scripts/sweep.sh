#!/usr/bin/env bash
# A sweep of one design parameter: the script is run once for every value from FIRST to LAST in
# steps of STEP, each value by a kubrix-run process of its own (--set NAME=VALUE -o FILE), as many
# processes at a time as the machine has cores (xargs -P). Each value's model is written to
# OUTDIR/SCRIPT-NAMEVALUE.EXT; at the end the number of files and the wall time are printed.
#   bash scripts/sweep.sh [-j JOBS] [-f EXT] SCRIPT NAME FIRST STEP LAST OUTDIR [-- RUNNER-OPTIONS]
# EXT is any output format of kubrix-run (stl by default; png draws pictures, with RUNNER-OPTIONS
# such as --size 480x360 --color). The runner is $KUBRIX_RUN, else build/kubrix-run of this
# checkout, else kubrix-run on the PATH.
#   bash scripts/sweep.sh examples/vase.kx h 10 0.05 30 build/sweep    # 401 vases, 10 to 30 high
set -euo pipefail

usage() {
  sed -n 's/^#   //p' "$0" >&2
  exit 2
}

jobs=$(nproc)
ext=stl
while getopts j:f: opt; do
  case $opt in
    j) jobs=$OPTARG ;;
    f) ext=${OPTARG#.} ;;
    *) usage ;;
  esac
done
shift $((OPTIND - 1))
(($# >= 6)) || usage
script=$1 name=$2 first=$3 step=$4 last=$5 out=$6
shift 6
[[ ${1:-} == -- ]] && shift
[[ -r $script ]] || { echo "sweep: cannot read the script $script" >&2; exit 2; }

runner=${KUBRIX_RUN:-}
if [[ -z $runner ]]; then
  runner=$(dirname "$0")/../build/kubrix-run
  [[ -x $runner ]] || runner=$(command -v kubrix-run || true)
fi
[[ -n $runner && -x $runner ]] || { echo "sweep: kubrix-run not found (set KUBRIX_RUN)" >&2; exit 2; }

base=$(basename "$script")
base=${base%.*}
mkdir -p "$out"
values=$(LC_ALL=C seq "$first" "$step" "$last")
count=$(wc -l <<<"$values")

start=$(date +%s%N)
status=0
# One process per value; xargs puts the value where {} stands. A failed run (exit status 1 or 2 of
# kubrix-run, with its message on standard error) makes xargs end with a non-zero status.
xargs -P "$jobs" -I{} "$runner" --log-off "$@" --set "$name={}" -o "$out/$base-$name{}.$ext" "$script" \
  <<<"$values" || status=$?
end=$(date +%s%N)

written=$(find "$out" -maxdepth 1 -name "$base-$name*.$ext" -newermt "@$((start / 1000000000 - 1))" | wc -l)
LC_ALL=C awk -v n="$count" -v w="$written" -v j="$jobs" -v ns=$((end - start)) -v dir="$out" \
  'BEGIN { printf "%d values, %d files in %s, %.2f s wall time, %d process%s at a time\n", n, w, dir, ns / 1e9, j, j == 1 ? "" : "es" }'
((status == 0)) || { echo "sweep: some runs failed (xargs status $status)" >&2; exit 1; }
