#!/usr/bin/env bash
# The browser page against the native program. Builds the page with em++ in its
# own build directory, runs two scripted sessions natively (headless) and in
# Debian's chromium through the page's test hook, on the same virtual clock, and
# compares the canvas pixel for pixel with the native screenshots: the intro, two
# panes loaded, a run to 2050 beside a second run, an open dialog, and after a
# reload of the page the simulation saved before it, loaded back; the screen
# dump and the table exported arrive as downloads, the same as the native ones. Then it types
# real keys into the page. Prints the budgets: the page's size, its first frame
# and the idle tab's processor time.
# Usage: web_page_test.sh SOURCE_DIR NATIVE_VARNOCK WEB_BUILD_DIR
set -euo pipefail
src=$(cd "$1" && pwd) varnock=$(realpath "$2") web_build=$3 server=""
if ! command -v em++ >/dev/null || [ ! -x /usr/bin/chromium ] || ! command -v npm >/dev/null; then
  echo "em++, chromium or npm missing (scripts/setup.sh installs them)"
  exit 77
fi
export NODE_PATH=/usr/share/nodejs  # Debian's acorn, for emscripten's optimiser
emcmake cmake -S "$src" -B "$web_build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DDEMOVAR_WERROR=ON \
  -DDEMOVAR_TESTS=OFF -DDEMOVAR_BENCH=OFF >/dev/null
cmake --build "$web_build"
# The driver's packages, as the lock file pins them.
if ! cmp -s "$src/tests/web/package-lock.json" "$web_build/driver/package-lock.json"; then
  mkdir -p "$web_build/driver"
  cp "$src/tests/web/package.json" "$src/tests/web/package-lock.json" "$web_build/driver/"
  (cd "$web_build/driver" && npm ci --no-audit --no-fund --loglevel=error)
fi

work=$(mktemp -d)
trap '[ -z "$server" ] || kill "$server"; rm -rf "$work"' EXIT
inf=$src/data/varnock.inf
# shellcheck source=../app/session_helpers.sh
. "$src/tests/app/session_helpers.sh"
mkdir "$work/native"
lay_out_session_data "$work/native" "$src/data"

country() {  # $1 pane, $2 name, $3 the menu's first item (the lower pane's opens above its button)
  printf 'click %s\nclick %s\ntype %s\nkey return\nclick %s\n' "$(button_centre "$1" options)" "$3" "$2" "$(button_centre map done)"
}
file_menu() {  # $1 item, $2 the name typed into its dialog
  printf 'click %s\nclick %s\ntype %s\nkey return\nwait 200\n' "$(button_centre root File)" "$(item_centre file "$1")" "$2"
}
{
  printf 'wait 500\nscreenshot intro\nclick %s\nclick %s\n' "$(button_centre help done)" "$(button_centre message done)"
  country top France "$(item_centre options 0)"
  country bottom Japan "260 348"
  echo "screenshot panes"
  for _ in $(seq 12); do echo "click $(button_centre top simulate)"; done
  for _ in 1 2 3; do echo "click $(button_centre bottom simulate)"; done
  printf 'screenshot runs\nclick %s\nclick %s\nwait 100\nscreenshot dialog\n' \
    "$(button_centre root File)" "$(item_centre file 2)"
  # A BMP dump of the screen, and its result alert closed.
  printf 'click %s\nclick %s\nclick %s\nkey return\n' \
    "$(button_centre dump gfformat)" "$(item_centre gfformat 0)" "$(button_centre dump dumpscreen)"
  file_menu 0 websave
  echo "key return"  # the save's result
  file_menu 3 webtable
} >"$work/first.txt"
{
  printf 'wait 500\nclick %s\nclick %s\n' "$(button_centre help done)" "$(button_centre message done)"
  file_menu 1 websave
  echo "screenshot loaded"
} >"$work/second.txt"

for script in first second; do
  (cd "$work/native" && VARNOCK_PLATFORM=headless VARNOCK_SCRIPT="$work/$script.txt" "$varnock" >/dev/null)
done
for shot in intro panes runs dialog loaded; do mv "$work/native/$shot" "$work/$shot.png"; done
mv "$work/native/webtable.csv" "$work/native/vkshot00.bmp" "$work/"

port=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
python3 -m http.server "$port" --bind 127.0.0.1 --directory "$web_build/web" >/dev/null 2>&1 &
server=$!
echo "page: $(du -cb "$web_build"/web/* | tail -1 | cut -f1) bytes uncompressed (budget 3 MB)"
NODE_PATH="$web_build/driver/node_modules" node "$src/tests/web/browser_test.js" \
  "http://127.0.0.1:$port/index.html" "$work" "$(button_centre message done)"
