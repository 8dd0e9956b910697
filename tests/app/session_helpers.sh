# Helpers of the tests that drive the program from outside: a scratch data
# directory, and the places on the screen of the objects of the interface file,
# read from the file itself ($inf, default varnock.inf). Sourced.
inf=${inf:-varnock.inf}

# Lays out a data directory in $1 from the program's data in $2: the real lists,
# databases, maps and interface file; the intro picture and texts when they are
# there, else small stand-ins.
lay_out_session_data() {
  local work=$1 data=$2
  ln -s "$data/dbase" "$work/dbase"
  ln -s "$data/varnock.inf" "$work/varnock.inf"
  mkdir -p "$work/images" "$work/info"
  cp "$data/images/countries.rl8" "$data/images/regions.rl8" "$work/images/"
  if [ -f "$data/images/intro.rl4" ]; then cp "$data/images/intro.rl4" "$work/images/"
  else cp "$data/images/regions.rl8" "$work/images/intro.rl4"; fi
  cp "$data"/info/* "$work/info/" 2>/dev/null || true
  [ -f "$work/info/tutor1.hlp" ] || printf 'Welcome.\n' >"$work/info/tutor1.hlp"
  [ -f "$work/info/pop.txt" ] || printf 'Version 1.0\n' >"$work/info/pop.txt"
  [ -f "$work/info/modeling.txt" ] || printf 'Models.\n' >"$work/info/modeling.txt"
  cp "$data/config.mcf" "$work/config.mcf"
}
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
