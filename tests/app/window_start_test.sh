#!/usr/bin/env bash
# Starts varnock under a virtual X server in a scratch data directory and checks
# that its window is 640 x 480 and titled "Demovar", and that error.log begins
# with the library's version line followed by the start-up notes.
# Usage: window_start_test.sh VARNOCK DATA_DIR INTERFACE_FILE
set -euo pipefail
varnock=$1
data=$2
interface=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/dbase" "$work/images" "$work/info"
cp "$data/images/countries.rl8" "$data/images/regions.rl8" "$work/images/"
cp "$data/images/regions.rl8" "$work/images/intro.rl4"
printf 'Version 1.0\n' >"$work/info/pop.txt"
printf 'Welcome.\n' >"$work/info/tutor1.hlp"
printf 'database= VK_config\nlistpath= dbase/\nimagepath= images/\ninfopath= info/\ncountryfile= countries.rl8\nregionfile= regions.rl8\ninterfacefile= %s\n' \
  "$interface" >"$work/config.mcf"
printf 'database= VK_clist\nnumregions= 1\nnumcountries= 0\nformat= type filename name code color tamrof\nregion w.dat World  1 white\nendformat\n' \
  >"$work/dbase/country.maf"

cat >"$work/inside.sh" <<'INSIDE'
set -u
"$1" >stdout.txt 2>stderr.txt &
pid=$!
geometry=""
for _ in $(seq 1 200); do
  # The window may be made and remade while the display starts: ask again until
  # its geometry can be read.
  for window in $(xdotool search --name '^Demovar$' 2>/dev/null); do
    geometry=$(xdotool getwindowgeometry "$window" 2>/dev/null | sed -n 's/.*Geometry: //p')
    [ -n "$geometry" ] && break 2
  done
  sleep 0.1
done
echo "window geometry: ${geometry:-none}"
result=1
[ "$geometry" = "640x480" ] && result=0
kill "$pid" 2>/dev/null || true
wait "$pid" 2>/dev/null || true
exit $result
INSIDE

cd "$work"
VARNOCK_SCALE=1 xvfb-run -a -s '-screen 0 1024x768x24' bash inside.sh "$varnock"
expected=$'Marlix Interface Handler Library Version 2.0.6\nMemory Available: 1048576.\nFloating point will be used for calculations.'
actual=$(cat error.log)
if [ "$actual" != "$expected" ]; then
  echo "error.log was:"; cat error.log
  exit 1
fi
echo "ok"
