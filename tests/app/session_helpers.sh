# Helpers of the tests that drive the program from outside: a scratch data
# directory, the program's window under the virtual X server, and the places on
# the screen of the objects of the interface file, read from the file itself
# ($inf, default varnock.inf). Sourced.
inf=${inf:-varnock.inf}

# Lays out a data directory in $1 from the program's data in $2.
lay_out_session_data() {
  local work=$1 data=$2
  ln -s "$data/dbase" "$work/dbase"
  ln -s "$data/varnock.inf" "$work/varnock.inf"
  mkdir -p "$work/images" "$work/info"
  cp "$data/images/countries.rl8" "$data/images/regions.rl8" "$data/images/intro.rl4" "$work/images/"
  cp "$data"/info/* "$work/info/"
  cp "$data/config.mcf" "$work/config.mcf"
}
# Waits for the window "Demovar": its origin in $ox $oy, its size in $geometry.
start_window() {
  win="" geometry=""
  for _ in $(seq 1 200); do
    # The window may be made and remade while the display starts: ask again
    # until its geometry can be read.
    win=$(xdotool search --name '^Demovar$' 2>/dev/null | head -1)
    [ -n "$win" ] && geometry=$(xdotool getwindowgeometry "$win" 2>/dev/null | sed -n 's/.*Geometry: //p')
    [ -n "$geometry" ] && break
    sleep 0.1
  done
  [ -n "$geometry" ] || { echo "no window"; cat stderr.txt stdout.txt; exit 1; }
  read -r ox oy < <(xdotool getwindowgeometry "$win" | sed -n 's/.*Position: \([0-9]*\),\([0-9]*\).*/\1 \2/p')
  sleep 1.5
}
# The pointer on the middle of screen pixel ($1, $2), the picture at $ox $oy
# enlarged kn / kd times.
at() { xdotool mousemove $((ox + (2 * $1 + 1) * ${kn:-1} / (2 * ${kd:-1}))) $((oy + (2 * $2 + 1) * ${kn:-1} / (2 * ${kd:-1}))); sleep 0.15; }
click() { at "$1" "$2"; xdotool click 1; sleep 0.4; }
# The statement of a window, button, popup or field, with bar texts removed.
statement() { sed -e 's/|[^|]*|/T/g' -e 's/[(),]/ /g' "$inf" | awk -v kind="$1" -v name="$2" -v win="${3:-}" '
  $1 == "window" { current = $2 }
  ($1 == kind || $1 == kind "s") && tolower($2) == tolower(name) && (win == "" || current == win) { print; exit }'; }
window_origin() { statement window "$1" | awk '{ print $3, $4 }'; }
# Centre of a button of a window, in screen coordinates.
button_centre() {
  read -r wx wy < <(window_origin "$1")
  statement button "$2" "$1" | awk -v wx="$wx" -v wy="$wy" '{ print wx + $4 + int($6 / 2), wy + $5 + int($7 / 2) }'
}
# Centre of item slot n of a popup menu.
item_centre() { statement popup "$1" | awk -v n="$2" '{ print $3 + 30, $4 + 3 + 15 * n + 7 }'; }
field() { statement field "$1" | awk '{ print $3, $4, $5, $6 }'; }
