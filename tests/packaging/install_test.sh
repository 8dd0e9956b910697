#!/usr/bin/env bash
# Installs the build into a scratch prefix and uses the installed programs as a
# user would: varnock started headless from an unrelated folder, HOME a scratch
# folder, saves, dumps and exports; the files must be in the per-user folder, the
# pictures folder and the documents folder the desktop names, and nothing new
# under the prefix. Then a saved simulation given on the command line opens,
# vkproject works from the install, both manual pages render, the desktop entry
# validates and names an installed icon.
# Usage: install_test.sh BUILD_DIR BUILD_VARNOCK
set -uo pipefail
build=$1
build_varnock=$(realpath "$2")
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap '[ -n "${KEEP:-}" ] || rm -rf "$work"' EXIT
fail=0
no() { echo "FAIL: $*"; fail=1; }

prefix=$work/prefix
cmake --install "$build" --prefix "$prefix" >/dev/null || { echo "FAIL: cmake --install"; exit 1; }
touch "$work/installed"; sleep 1

export HOME=$work/home
unset XDG_DATA_HOME XDG_CONFIG_HOME VARNOCK_SCRIPT
mkdir -p "$HOME/Pictures" "$HOME/Papers" "$HOME/.config" "$work/elsewhere"
echo 'XDG_DOCUMENTS_DIR="$HOME/Papers"' > "$HOME/.config/user-dirs.dirs"
cd "$work/elsewhere" || exit 1

# Not installed and no config.mcf here: the build's program says what is missing.
"$build_varnock" >out.txt 2>&1 && no "the build's varnock started without data"
grep -q "no data: neither a config.mcf" out.txt || no "no clear message without data: $(cat out.txt)"

inf=$prefix/share/demovar/varnock.inf
source "$here/../app/session_helpers.sh"
# The session: the intro closed, France chosen and simulated, saved (vk_000.sav),
# the screen dumped (BMP), the table exported (table.csv), each result alert
# closed with Enter; a screenshot of the export's alert.
c() { printf 'click %s %s\nwait 200\n' "$@"; }
{
  echo "wait 500"; c $(button_centre help done) $(button_centre message done) $(button_centre top options) $(item_centre options 0)
  printf 'type fran\nkey return\nwait 300\n'; c $(button_centre map done) $(button_centre top simulate) $(button_centre root file) $(item_centre file 0)
  printf 'key return\nwait 200\nkey return\n'; c $(button_centre root file) $(item_centre file 2) $(button_centre dump gfformat) $(item_centre gfformat 0) $(button_centre dump dumpscreen)
  printf 'key return\nwait 200\n'; c $(button_centre root file) $(item_centre file 3)
  printf 'key return\nwait 200\nscreenshot %s\nkey return\n' "$work/export.png"
} > "$work/session.txt"
rm -f out.txt
VARNOCK_PLATFORM=headless VARNOCK_SCRIPT=$work/session.txt "$prefix/bin/varnock" >"$work/out.txt" 2>&1 ||
  no "the installed varnock ended with $?: $(cat "$work/out.txt")"
user=$HOME/.local/share/demovar
for f in "$user/error.log" "$user/output.log" "$user/vk_000.sav" "$HOME/Pictures/vkshot00.bmp" \
         "$HOME/Papers/table.csv"; do
  [ -s "$f" ] || no "$f was not written"
done
grep -q "France" "$user/output.log" || no "output.log does not record France"
[ -z "$(ls -A .)" ] || no "files written in the working directory: $(ls -A .)"
[ -z "$(find "$prefix" -newer "$work/installed")" ] || no "written under the prefix: $(find "$prefix" -newer "$work/installed")"

# The saved simulation opens from the command line, without the intro.
printf 'wait 300\nscreenshot %s\n' "$work/opened.png" > "$work/open.txt"
VARNOCK_PLATFORM=headless VARNOCK_SCRIPT=$work/open.txt "$prefix/bin/varnock" "$user/vk_000.sav" >/dev/null 2>&1 ||
  no "varnock FILE.sav ended with $?"
grep -q "not loaded" "$user/error.log" && no "the file given was not loaded: $(cat "$user/error.log")"
grep -q "France" "$user/output.log" && no "output.log of the second run is not new"

# --data makes a copy of the data portable: it receives the logs itself.
mkdir "$work/portable" && lay_out_session_data "$work/portable" "$prefix/share/demovar"
VARNOCK_PLATFORM=headless VARNOCK_SCRIPT= "$prefix/bin/varnock" --data "$work/portable" >/dev/null 2>&1 || no "--data DIR"
[ -s "$work/portable/error.log" ] || no "--data DIR: no error.log there"

# vkproject from the install reads the installed data of both starting points.
for base in 1990 2020; do
  rows=$("$prefix/bin/vkproject" --all --base $base --format csv | wc -l)
  [ "$rows" -gt 2900 ] || no "vkproject --all --base $base gave $rows rows"
done
"$prefix/bin/vkproject" --version | grep -q "^vkproject (Demovar) [0-9]" || no "vkproject --version"
"$prefix/bin/varnock" --version | grep -q "^varnock (Demovar) [0-9]" || no "varnock --version"

for page in varnock vkproject; do
  man -l "$prefix/share/man/man1/$page.1" 2>&1 | grep -q "^NAME" || no "man -l $page.1 does not render"
done
desktop=$prefix/share/applications/demovar.desktop
desktop-file-validate "$desktop" || no "desktop-file-validate"
icon=$(sed -n 's/^Icon=//p' "$desktop")
for size in 16 32 48 256; do
  [ -s "$prefix/share/icons/hicolor/${size}x$size/apps/$icon.png" ] || no "no $size px icon $icon"
done
[ $fail = 0 ] && echo "install test passed"
exit $fail
