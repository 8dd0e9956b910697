#!/usr/bin/env bash
# Uses varnock as a person would, in a real window under a virtual X server: checks
# the window (640 x 480, titled "Demovar") and the start of error.log, clicks at the
# places the interface file gives (read from the file itself), types a country's
# name, simulates three steps, takes a screenshot and checks it (the pyramid's
# youngest row in its colour, the country's name drawn), checks output.log, and
# closes the window by its close button: the program asks, a second close request
# ends it, and the session is kept in vk_last.sav.
# Usage: window_session_test.sh VARNOCK DATA_DIR CLOSE_REQUEST
set -euo pipefail
varnock=$1
data=$2
close_request=$3
# The libraries SDL loads for a window (D-Bus, input methods) leave small blocks that
# LeakSanitizer cannot attribute; the program's own memory is checked by the
# in-process tests.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"
unset VARNOCK_PLATFORM VARNOCK_SCRIPT
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
source "$(dirname "$0")/session_helpers.sh"
lay_out_session_data "$work" "$data"
cp "$(dirname "$0")/session_helpers.sh" "$work/"

cat >"$work/inside.sh" <<'INSIDE'
set -u
inf=varnock.inf
source ./session_helpers.sh
"$1" >stdout.txt 2>stderr.txt &
pid=$!
start_window
[ "$geometry" = "640x480" ] || { echo "window geometry: ${geometry:-none}"; exit 1; }
click $(button_centre help done)          # the first help file
click $(button_centre message done)       # the intro picture
click $(button_centre top options)
click $(item_centre options 0)            # select a country
xdotool type --delay 80 "fran"
xdotool key Return
sleep 0.5
click $(button_centre map done)
for _ in 1 2 3; do click $(button_centre top simulate); done
sleep 0.5
import -window root screen.png 2>/dev/null || xwd -root -silent | convert xwd:- screen.png
# The youngest row of the pyramid, on the female side, in its colour (lblue).
read -r tx ty < <(window_origin top)
read -r px py pw ph < <(field PYRGRAPH)
read -r bx by bw bh < <(field BARS)
x=$((ox + tx + px + pw / 2 + 18)); y=$((oy + ty + py - 5 - bh + ph + bh / 2))
colour=$(convert screen.png -format "%[pixel:p{$x,$y}]" info: 2>/dev/null)
read -r cx cy cw ch < <(field CTYNAME)
dark=$(convert screen.png -crop "${cw}x${ch}+$((ox + tx + cx))+$((oy + ty + cy))" -threshold 50% -format "%[fx:int(w*h*(1-mean)+0.5)]" info: 2>/dev/null)
result=0
case "$colour" in *160,200,252*) ;; *) echo "pyramid row 0 at $x,$y: $colour"; result=1 ;; esac
[ "${dark:-0}" -gt 30 ] || { echo "no country name drawn ($dark dark pixels)"; result=1; }
# The window's close button (the window manager's close request) asks: the quit
# confirmation comes up and the program goes on. A second request confirms.
"$2" "$win"
sleep 1
kill -0 "$pid" 2>/dev/null || { echo "the close request ended the program without asking"; result=1; }
import -window root asked.png 2>/dev/null || xwd -root -silent | convert xwd:- asked.png
read -r qx qy < <(window_origin quit)
crop="300x104+$((ox + qx))+$((oy + qy))"
convert screen.png -crop "$crop" before_close.png; convert asked.png -crop "$crop" after_close.png
changed=$(compare -metric AE before_close.png after_close.png null: 2>&1 || true)
[ "${changed%% *}" -gt 3000 ] 2>/dev/null || { echo "no quit confirmation drawn ($changed pixels changed)"; result=1; }
"$2" "$win"
for _ in $(seq 1 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$pid" 2>/dev/null; then echo "still running after quit"; kill "$pid"; result=1; fi
wait "$pid" || { echo "exit status $?"; tail -20 stderr.txt; result=1; }
[ -s vk_last.sav ] || { echo "no vk_last.sav kept"; result=1; }
exit $result
INSIDE

cd "$work"
VARNOCK_SCALE=1 xvfb-run -a -s '-screen 0 1024x768x24' bash inside.sh "$varnock" "$close_request"
expected=$'Marlix Interface Handler Library Version 2.0.6\nMemory Available: 1048576.\nFloating point will be used for calculations.'
[ "$(head -n 3 error.log)" = "$expected" ] || { echo "error.log begins:"; head -n 3 error.log; exit 1; }
grep -q "Selected country = France." output.log || { echo "output.log:"; cat output.log; exit 1; }
steps=$(grep -c '^FRANCE *: ' output.log || true)
[ "$steps" -eq 3 ] || { echo "expected 3 statistics lines, got $steps"; cat output.log; exit 1; }
echo "ok"
