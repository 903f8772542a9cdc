#!/usr/bin/env bash
# Checks the help file the build puts beside the programs:
#   check_help.sh BUILT_HELP_TXT SOURCE_HELP_TXT
# The built file must be CP932 text with CR LF line ends whose text is exactly the UTF-8 source, hold
# every chapter heading the help window's buttons search for, and have an entry for every command.
set -u
built=$1 source=$2
failed=0
fail() { echo "FAILED: $*"; failed=1; }

[[ -f $built ]] || { echo "FAILED: $built does not exist (the build writes it)"; exit 1; }
[[ -f $source ]] || { echo "FAILED: $source does not exist"; exit 1; }

converted=$(mktemp) text=$(mktemp)
trap 'rm -f "$converted" "$text"' EXIT
if ! iconv -f CP932 -t UTF-8 "$built" >"$converted"; then
  fail "$built does not convert from CP932"
fi
tr -d '\r' <"$converted" >"$text"

# Every line, the last one included, ends in CR LF.
bare=$(LC_ALL=C grep -c -v $'\r$' "$built")
[[ $bare -eq 0 ]] || fail "$bare lines of $built do not end in CR LF"
[[ -z $(tail -c 1 "$built") ]] || fail "$built does not end with a line end"
if LC_ALL=C grep -q $'\r\r$' "$built"; then fail "$built has doubled CRs"; fi

# The same text as the source.
if ! cmp -s "$text" "$source"; then
  fail "$built is not the text of $source"
  diff -u --label source --label built "$source" "$text" | head -40
fi

headings=("★変数" "★作図命令" "＜変換マトリックス関連命令＞" "＜３Ｄ図形作図命令＞" "＜図形取得関連命令＞"
  "＜入力関連命令＞" "＜数値計算関連＞")
# The chapter buttons select the first occurrence of a heading, so that must be a line of its own.
for h in "${headings[@]}"; do
  first=$(grep -n -F -- "$h" "$text" | head -1)
  if [[ -z $first ]]; then
    fail "heading $h is missing"
  elif [[ ! $first =~ ^[0-9]+:$h[[:space:]]*$ ]]; then
    fail "the first occurrence of $h is not its heading line: $first"
  fi
done

# One entry per command: a line that starts with the keyword, followed by a blank or the line end.
commands=(CAL CLEAR LAYER PEN RANDOMIZE LINE TEN 3SOLID 4SOLID GETFIGN GETFIGD SETFIGD DELEFIG DELEFGS
  UNDOFIG UNDOFGS
  INIMATR BAKMATR RESMATR MATRIX MATRIXO MATRIXL MOVMATR MATRIXA MATRIXT TRAMATR MATRIXN ROXMATR ROYMATR
  ROZMATR RLXMATR RLYMATR RLZMATR GETMATR GETL2W GETW2L)
for c in "${commands[@]}"; do
  grep -qE "^■$c( |$)" "$text" || fail "no entry \"■$c\" for the command $c"
done

# The control lines and the expression section are described.
for w in "#VAR" "#CALC" "#DRAW" "#LIST" "#IF" "#ELSE" "#END" "#WHILE" "#GOTO" "#EXIT" "Zero Divided Error"; do
  grep -qF -- "$w" "$text" || fail "$w is not described"
done

[[ $failed -eq 0 ]] && echo "ok: $built"
exit $failed
