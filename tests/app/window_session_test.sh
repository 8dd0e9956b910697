#!/usr/bin/env bash
# Uses varnock as a person would, in a real window under a virtual X server: checks
# the window (640 x 480, titled "Demovar") and the start of error.log, clicks at the
# places the interface file gives (read from the file itself), types a country's
# name, simulates three steps, takes a screenshot and checks it (the pyramid's
# youngest row in its colour, the country's name drawn), checks that the program
# sleeps at rest, enlarges the window to twice the size (the same picture, clicks
# at the new places work), goes full screen with F11 and fills it with F10 (a
# click at 2.5 times works), checks output.log, and closes the window by its close
# button: the program asks, a second close request ends it, and the session is
# kept in vk_last.sav.
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
"$1" --scale 1 >stdout.txt 2>stderr.txt &
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
# The youngest row of the pyramid, on the male side, in its colour (lblue).
read -r tx ty < <(window_origin top)
read -r px py pw ph < <(field PYRGRAPH)
read -r bx by bw bh < <(field BARS)
x=$((ox + tx + px + pw / 2 - 18)); y=$((oy + ty + py - 5 - bh + ph + bh / 2))
colour=$(convert screen.png -format "%[pixel:p{$x,$y}]" info: 2>/dev/null)
read -r cx cy cw ch < <(field CTYNAME)
dark=$(convert screen.png -crop "${cw}x${ch}+$((ox + tx + cx))+$((oy + ty + cy))" -threshold 50% -format "%[fx:int(w*h*(1-mean)+0.5)]" info: 2>/dev/null)
result=0
case "$colour" in *160,200,252*) ;; *) echo "pyramid row 0 at $x,$y: $colour"; result=1 ;; esac
[ "${dark:-0}" -gt 30 ] || { echo "no country name drawn ($dark dark pixels)"; result=1; }
# At rest the program sleeps: the 10 ms heartbeat woke it 200 times in 2 s.
wakeups() { cat /proc/$pid/task/*/schedstat | awk '{ n += $3 } END { print n }'; }
w0=$(wakeups); sleep 2; w1=$(wakeups)
[ $((w1 - w0)) -lt 20 ] || { echo "$((w1 - w0)) wakeups in 2 s at rest"; result=1; }
# Twice the size: the same picture pixel for pixel, and a click reacts (step 4).
xdotool windowmove "$win" 0 0 mousemove 1590 1190; sleep 0.5; ox=0 oy=0
import -window root -crop 640x480+0+0 +repage one.png
xdotool windowsize "$win" 1280 960; sleep 1
ae=$(import -window root -crop 1280x960+0+0 +repage png:- | convert - -sample 50% png:- | compare -metric AE one.png - null: 2>&1)
[ "$ae" = 0 ] || { echo "at twice the size $ae pixels differ"; result=1; }
kn=2
click $(button_centre top simulate)
# Full screen, which on X is the window manager's to give: F11 in and out, then
# in again with F10 filling the 1600 x 1200 screen at 2.5 times (step 5 and the
# closing clicks).
openbox >/dev/null 2>&1 & sleep 1.5
xdotool mousemove 640 480 windowfocus --sync "$win"
for size in 1600x1200 1280x960; do
  xdotool key F11; sleep 1
  got=$(xdotool getwindowgeometry "$win" | sed -n 's/.*Geometry: //p')
  [ "$got" = $size ] || { echo "F11: $got, not $size"; result=1; }
done
xdotool key F11 F10; sleep 1
kn=5 kd=2 ox=0 oy=0
click $(button_centre top simulate)
# The window's close button (the window manager's close request) asks: the quit
# confirmation comes up and the program goes on. A second request confirms.
sleep 1
import -window root before_close.png
"$2" "$win"
sleep 1
kill -0 "$pid" 2>/dev/null || { echo "the close request ended the program without asking"; result=1; }
import -window root asked.png
changed=$(compare -metric AE before_close.png asked.png null: 2>&1 || true)
[ "${changed%% *}" -gt 3000 ] 2>/dev/null || { echo "no quit confirmation drawn ($changed pixels changed)"; result=1; }
"$2" "$win"
for _ in $(seq 1 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$pid" 2>/dev/null; then echo "still running after quit"; kill "$pid"; result=1; fi
wait "$pid" || { echo "exit status $?"; tail -20 stderr.txt; result=1; }
[ -s vk_last.sav ] || { echo "no vk_last.sav kept"; result=1; }
exit $result
INSIDE

cd "$work"
"$varnock" --help | grep -q -- "--fullscreen" || { echo "--help does not list --fullscreen"; exit 1; }
xvfb-run -a -s '-screen 0 1600x1200x24' bash inside.sh "$varnock" "$close_request"
expected=$'Marlix Interface Handler Library Version 2.0.6\nMemory Available: 1048576.\nFloating point will be used for calculations.'
[ "$(head -n 3 error.log)" = "$expected" ] || { echo "error.log begins:"; head -n 3 error.log; exit 1; }
grep -q "Selected country = France." output.log || { echo "output.log:"; cat output.log; exit 1; }
steps=$(grep -c '^FRANCE *: ' output.log || true)
[ "$steps" -eq 5 ] || { echo "expected 5 statistics lines, got $steps"; cat output.log; exit 1; }
echo "ok"
