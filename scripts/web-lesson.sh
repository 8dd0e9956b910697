#!/usr/bin/env bash
# A hand check of the browser page: the whole tutorial lesson done in Debian's
# chromium (headless) with real mouse clicks, drags and keys at the canvas's
# scaled position, as a teacher would do it, never through the page's test hook.
# Writes a screenshot of every stage to OUT (default web-lesson/) for a person to
# look at, and fails when a stage does not move on (its instruction in the
# message bar stays). The page comes from WEB_DIR (default build/web-page/web, as
# the test web_page builds it); the driver's packages from build/web-page/driver.
# Usage: scripts/web-lesson.sh [OUT [WEB_DIR [SCALE]]]   (SCALE: the page's zoom, 2)
set -euo pipefail
src=$(cd "$(dirname "$0")/.." && pwd)
out=$(realpath -m "${1:-web-lesson}") web=${2:-$src/build/web-page/web} scale=${3:-2}
driver=$src/build/web-page/driver
[ -f "$web/varnock.wasm" ] || { echo "no page in $web: ctest -R web_page builds it"; exit 1; }
if ! cmp -s "$src/tests/web/package-lock.json" "$driver/package-lock.json"; then
  mkdir -p "$driver"
  cp "$src/tests/web/package.json" "$src/tests/web/package-lock.json" "$driver/"
  (cd "$driver" && npm ci --no-audit --no-fund --loglevel=error)
fi
inf=$src/data/varnock.inf
# shellcheck source=../tests/app/session_helpers.sh
. "$src/tests/app/session_helpers.sh"
area() {  # $1 window, $2 drag area: its rectangle on the screen
  read -r wx wy < <(window_origin "$1")
  statement dragarea "$2" "$1" | awk -v wx="$wx" -v wy="$wy" '{ print wx + $3, wy + $4, $5, $6 }'
}
b() { echo "click $(button_centre "$1" "$2")"; }
cont=$(b message wtcont) sim=$(b top simulate)
read -r sx sy sw sh < <(area map smallmap)
read -r lx ly _ _ < <(area map scrollcountry)
read -r bx by bw _ < <(area map scrollbar)
read -r px py pw ph < <(area top pyrgraph)
read -r mx my mw mh < <(area map largemap)
# The lesson: actions, and after each stage's awaited action "stage NAME".
# The Options menu's slots count its shown items (one of the two rate-editing items
# is hidden): slot 4 is Reset, slot 3 rate editing. A cohort is shortened by a drag
# of its bar's end (the 20-29 women) towards the middle.
# "until N ACTION" repeats the action, at most N times, until the stage moves on.
lesson=$(cat <<END
$(b root help)
click $(item_centre help 4)
stage welcome
$(b alert okay)
stage press-options
$(b top options)
stage select-from-map
click $(item_centre options 0)
stage continue-1
$cont
stage notice-select
click $((mx + mw / 2)) $((my + mh / 2))
stage continue-3
$cont
stage drag-rectangle
drag $((sx + sw / 2)) $((sy + sh / 2)) $((sx + sw / 2 - 40)) $((sy + sh / 2 - 10))
stage zoom-in
$(b map incmapscale)
stage zoom-out
$(b map decmapscale)
stage pick-from-list
click $((lx + 30)) $((ly + 2 * 13 + 6))
stage down-arrow
$(b map DnArrow)
stage up-arrow
$(b map UpArrow)
stage continue-4
$cont
stage scroll-bar
drag $((bx + bw / 2)) $((by + 4)) $((bx + bw / 2)) $((by + 120))
stage type-name
type EU
stage end-with-enter
key Enter
stage map-done
$(b map done)
stage continue-5
$cont
stage continue-6
$cont
stage simulate
$sim
stage unsimulate
$(b top unsimulate)
stage to-2050
until 12 $sim
stage options-again
$(b top options)
stage run-another
click $(item_centre options 1)
stage continue-7
$cont
stage total-fertility
$(b toptotalfert setfert)
stage lower-fertility
until 100 $(b setfert decfert)
stage year-2010
until 20 $(b setfert incfyear)
stage fertility-done
$(b setfert okay)
stage to-2050-again
until 12 $sim
stage continue-8
$cont
stage options-3
$(b top options)
stage reset
click $(item_centre options 4)
stage options-4
$(b top options)
stage view-buttons
click $(item_centre options 3)
stage continue-9
$cont
stage death-rate-minus
until 5 $(b topdeath Death7m)
stage continue-10
$cont
stage drag-cohort
drag $((px + pw / 2 + 32)) $((py + ph - 33)) $((px + pw / 2 + 12)) $((py + ph - 33))
stage to-2050-last
until 12 $sim
stage continue-11
$cont
stage lesson-ended
END
)
port=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
python3 -m http.server "$port" --bind 127.0.0.1 --directory "$web" >/dev/null 2>&1 &
server=$!
trap 'kill $server' EXIT
mkdir -p "$out"
echo "$lesson" | NODE_PATH=$driver/node_modules node "$src/tests/web/lesson.js" \
  "http://127.0.0.1:$port/index.html" "$out" "$scale" "$(button_centre help done)" "$(button_centre message done)"
