#!/usr/bin/env bash
# Runs the program varnock itself on the headless platform with a script of pointer
# and key events at the places the interface file gives: the first screen, a
# country chosen by typing its name, twelve steps to 2050, a screenshot, and
# quitting through the closing text. Checks the exit status, output.log and the
# screenshot.
# Usage: headless_session_test.sh VARNOCK DATA_DIR
set -euo pipefail
varnock=$1
data=$2
[ -f "$data/varnock.inf" ] || { echo "no interface file: skipped"; exit 0; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
here=$(cd "$(dirname "$0")" && pwd)
source "$here/session_helpers.sh"
lay_out_session_data "$work" "$data"
cd "$work"
inf=varnock.inf

{
  echo "wait 100"
  echo "click $(button_centre help done)"
  echo "click $(button_centre message done)"
  echo "click $(button_centre top options)"
  echo "click $(item_centre options 0)"
  echo "type fran"
  echo "key return"
  echo "click $(button_centre map done)"
  for _ in $(seq 1 12); do echo "click $(button_centre top simulate)"; done
  echo "screenshot screen.png"
  echo "click $(button_centre root quit)"
  echo "click $(item_centre quit 0)"
  echo "click $(button_centre quit doquit)"
  echo "click $(button_centre help done)"
  echo "wait 100"
  echo "screenshot after.png"
} >session.txt

status=0
VARNOCK_PLATFORM=headless VARNOCK_SCRIPT=session.txt "$varnock" >stdout.txt 2>stderr.txt || status=$?
result=0
[ "$status" -eq 0 ] || { echo "exit status $status"; cat stdout.txt stderr.txt; result=1; }
grep -q "Selected country = France." output.log || { echo "no country chosen"; result=1; }
steps=$(grep -c '^FRANCE *: ' output.log || true)
[ "$steps" -eq 12 ] || { echo "expected 12 statistics lines, got $steps"; result=1; }
grep -q '^FRANCE *: 2050 ' output.log || { echo "no line for 2050"; result=1; }
[ -f screen.png ] || { echo "no screenshot"; result=1; }
# The program ended at the closing text's Done: the last screenshot was never taken.
[ ! -f after.png ] || { echo "still running after the closing text"; result=1; }
if [ -f screen.png ] && command -v convert >/dev/null; then
  read -r tx ty < <(window_origin top)
  read -r px py pw ph < <(field PYRGRAPH)
  read -r bx by bw bh < <(field BARS)
  x=$((tx + px + pw / 2 + 18)); y=$((ty + py - 5 - bh + ph + bh / 2))
  colour=$(convert screen.png -format "%[pixel:p{$x,$y}]" info:)
  case "$colour" in *160,200,252*) ;; *) echo "pyramid row 0 at $x,$y: $colour"; result=1 ;; esac
fi
[ "$result" -eq 0 ] && echo "ok"
exit $result
