#!/usr/bin/env bash
# One golden test: run a script through kubrix-run and compare what it writes with the expected files.
#
#   run_golden.sh KUBRIX_RUN SCRIPT EXPECTED_BASE WORK_BASE
#
# SCRIPT             the script, e.g. tests/golden/control/goto.kx
# EXPECTED_BASE      e.g. tests/regression/control/goto; the expected files are
#                    EXPECTED_BASE-expected.log (standard output, always compared) and, when present,
#                    EXPECTED_BASE-expected.table / .vars / .grid (kubrix-run --table / --vars / --grid)
# WORK_BASE          where the actual outputs go (WORK_BASE.log, .table, .vars, .grid, .err)
#
# Beside the script, <name>.args may hold extra kubrix-run arguments: one or more per line, split at
# blanks; empty lines and lines starting with "#" are skipped.
#
# With KUBRIX_TEST_GENERATE=1 the expected files are written from the actual outputs instead of being
# compared: the log always, a table, variable or grid file only when it exists already (create an empty
# one to start comparing that output). Every generated file must be read and checked by hand.
set -u

if [[ $# -ne 4 ]]; then
  echo "usage: run_golden.sh KUBRIX_RUN SCRIPT EXPECTED_BASE WORK_BASE" >&2
  exit 2
fi
runner=$1 script=$2 expected=$3 work=$4
generate=${KUBRIX_TEST_GENERATE:-0}

[[ -x $runner ]] || { echo "kubrix-run not found: $runner" >&2; exit 2; }
[[ -f $script ]] || { echo "script not found: $script" >&2; exit 2; }
mkdir -p "$(dirname "$work")"
[[ $generate == 1 ]] && mkdir -p "$(dirname "$expected")"

args=()
argsFile=${script%.kx}.args
if [[ -f $argsFile ]]; then
  while IFS= read -r line || [[ -n $line ]]; do
    line=${line%$'\r'}
    [[ -z ${line//[[:space:]]/} || $line == \#* ]] && continue
    read -r -a words <<<"$line"
    args+=("${words[@]}")
  done <"$argsFile"
fi

# Outputs besides the log: compared (or regenerated) only when their expected file exists.
declare -A optionOf=([table]=--table [vars]=--vars [grid]=--grid)
extras=()
for kind in table vars grid; do
  rm -f "$work.$kind"
  if [[ -f $expected-expected.$kind ]]; then
    extras+=("$kind")
    args+=("${optionOf[$kind]}" "$work.$kind")
  fi
done

echo "\$ kubrix-run${args[*]:+ ${args[*]}} $script"
(cd "$(dirname "$script")" && "$runner" "${args[@]}" "$script") >"$work.log" 2>"$work.err"
status=$?
if [[ $status -ne 0 ]]; then
  echo "FAILED: kubrix-run exited with status $status"
  cat "$work.err"
  exit 1
fi
if [[ -s $work.err ]]; then
  echo "note: kubrix-run wrote to standard error:"
  cat "$work.err"
fi

# Tabs, CRs and line ends made visible; the rest, UTF-8 included, stays readable.
showBlanks() { sed -e 's/\t/<TAB>/g' -e 's/\r/<CR>/g' -e 's/$/<EOL>/'; }

failed=0
check() {  # check KIND ACTUAL EXPECTED
  local kind=$1 actual=$2 wanted=$3
  if [[ $generate == 1 ]]; then
    cp "$actual" "$wanted"
    echo "generated $wanted (check it by hand)"
    return
  fi
  if [[ ! -f $wanted ]]; then
    echo "FAILED: no expected $kind file $wanted (KUBRIX_TEST_GENERATE=1 writes one for review)"
    failed=1
    return
  fi
  if cmp -s "$wanted" "$actual"; then
    echo "ok: $kind"
    return
  fi
  failed=1
  echo "FAILED: $kind differs from $wanted"
  echo "--- diff (- expected, + actual)"
  diff -u --label "expected $kind" --label "actual $kind" "$wanted" "$actual"
  if diff -q -w "$wanted" "$actual" >/dev/null; then
    echo "--- the files differ only in blanks or line ends; here with tabs, CRs and line ends marked:"
    diff -u --label "expected $kind" --label "actual $kind" <(showBlanks <"$wanted") <(showBlanks <"$actual")
  fi
}

check log "$work.log" "$expected-expected.log"
for kind in "${extras[@]}"; do
  if [[ ! -f $work.$kind ]]; then
    echo "FAILED: kubrix-run wrote no $kind file"
    failed=1
    continue
  fi
  check "$kind" "$work.$kind" "$expected-expected.$kind"
done
exit $failed
