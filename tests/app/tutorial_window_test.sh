#!/usr/bin/env bash
# A new user's run of the walk-through tutorial in the real window under a virtual
# X server: after choosing a country and simulating two steps and saving, the user
# starts the tutorial from the Help menu and does what each step asks with the
# mouse and keyboard (clicks, drags, typing, held buttons) at the places the
# interface file gives, to the end of the lesson; then the user's work, saved
# again, must equal the save from before the lesson byte for byte.
# Usage: tutorial_window_test.sh VARNOCK DATA_DIR
set -euo pipefail
varnock=$1
data=$2
# The libraries SDL loads for a window leave small blocks that LeakSanitizer cannot
# attribute; the program's own memory is checked by the in-process tests.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"
unset VARNOCK_PLATFORM VARNOCK_SCRIPT
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
source "$(dirname "$0")/session_helpers.sh"
lay_out_session_data "$work" "$data"
cp "$data/vk_wt.ini" "$work/"
cp "$(dirname "$0")/session_helpers.sh" "$work/"

cat >"$work/inside.sh" <<'INSIDE'
set -u
inf=varnock.inf
source ./session_helpers.sh

"$1" >stdout.txt 2>stderr.txt &
pid=$!
start_window
hold() { at "$1" "$2"; xdotool mousedown 1; sleep "$3"; xdotool mouseup 1; sleep 0.4; }
drag() {
  at "$1" "$2"; xdotool mousedown 1; sleep 0.2
  xdotool mousemove $((ox + ($1 + $3) / 2)) $((oy + ($2 + $4) / 2)); sleep 0.2
  xdotool mousemove $((ox + $3)) $((oy + $4)); sleep 0.2
  xdotool mouseup 1; sleep 0.4
}
# A drag area of a window: its screen rectangle.
area() {
  read -r wx wy < <(window_origin "$1")
  statement dragarea "$2" "$1" | awk -v wx="$wx" -v wy="$wy" '{ print wx + $3, wy + $4, $5, $6 }'
}
cont() { click $(button_centre message wtcont); }
menu() { click $(button_centre "$1" "$2"); click $(item_centre "$3" "$4"); }
times() { local n=$1; shift; for _ in $(seq 1 "$n"); do "$@"; done; }
# File, Save under the name offered, and the alert that names the file.
save() { menu root file file 0; xdotool key Return; sleep 0.4; click $(button_centre alert okay); }
click $(button_centre help done)          # the first help file
click $(button_centre message done)       # the intro picture
# The user's own work, saved.
menu top options options 0
xdotool type --delay 80 "fran"; xdotool key Return; sleep 0.4
click $(button_centre map done)
times 2 click $(button_centre top simulate)
save
cp vk_000.sav before.sav

# The lesson, as its messages ask.
menu root help help 4
click $(button_centre alert okay)                        # the welcome note
menu top options options 0                               # Options, Select country
cont
read -r x y w h < <(area map largemap); click $((x + w / 2)) $((y + h / 2))
cont
read -r x y w h < <(area map smallmap); drag $((x + w / 2)) $((y + h / 2)) $((x + w / 2 + 30)) $((y + h / 2 + 10))
click $(button_centre map incmapscale)
click $(button_centre map decmapscale)
read -r x y w h < <(area map scrollcountry); click $((x + 30)) $((y + 32))
click $(button_centre map DnArrow)
click $(button_centre map UpArrow)
cont
read -r x y w h < <(area map scrollbar); drag $((x + w / 2)) $((y + 4)) $((x + w / 2)) $((y + 120))
xdotool type --delay 120 "eu"; sleep 0.3; xdotool key Return; sleep 0.4
click $(button_centre map done)
cont; cont
click $(button_centre top simulate)
click $(button_centre top unsimulate)
times 12 click $(button_centre top simulate)
menu top options options 1                               # another run
cont
click $(button_centre toptotalfert setfert)
hold $(button_centre setfert decfert) 6                  # down to 0.5
times 4 click $(button_centre setfert incfyear)          # to 2010
click $(button_centre setfert okay)
times 12 click $(button_centre top simulate)
cont
menu top options options 4                               # reset (the fifth item shown)
menu top options options 3                               # rate editing on
cont
hold $(button_centre topdeath Death7m) 6                 # below 11 per 1000
cont
read -r x y w h < <(area top pyrgraph); drag $((x + w / 2 + 20)) $((y + h - 20)) $((x + w / 2 + 60)) $((y + h - 20))
times 12 click $(button_centre top simulate)
cont                                                     # the end of the lesson
sleep 0.5
rm -f vk_000.sav
save
xdotool key ctrl+q
for _ in $(seq 1 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
kill "$pid" 2>/dev/null || true
result=0
[ -f vk_000.sav ] || { echo "nothing saved after the lesson"; result=1; }
cmp before.sav vk_000.sav || { echo "the user's work differs after the lesson"; result=1; }
[ ! -f vk_walk.sav ] || { echo "vk_walk.sav left behind: the lesson did not end"; result=1; }
grep -q "End of Walk-Through Tutorial" error.log || { echo "the lesson did not end"; result=1; }
exit $result
INSIDE

cd "$work"
VARNOCK_SCALE=1 xvfb-run -a -s '-screen 0 1024x768x24' bash inside.sh "$varnock" || { tail -20 error.log; exit 1; }
echo "ok"
