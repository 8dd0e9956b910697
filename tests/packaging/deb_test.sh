#!/usr/bin/env bash
# The Debian package on this machine (run as root by scripts/test.sh; it installs
# and removes a system package): builds it with cpack, installs it with apt,
# checks its dependencies, starts the program headless from an unrelated folder
# with a scratch HOME, removes the package and checks that nothing is left but
# the user's own files.
# Usage: deb_test.sh BUILD_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail=0
no() { echo "FAIL: $*"; fail=1; }

(cd "$build" && rm -f demovar_*.deb && cpack -G DEB >/dev/null)
deb=$(ls "$build"/demovar_*.deb)
depends=$(dpkg-deb -f "$deb" Depends)
case "$depends" in *libsdl2*) ;; *) no "no SDL2 runtime in Depends" ;; esac
case "$depends" in *xfonts*|*-dev*) no "a font or development package in Depends" ;; esac
DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "$deb" >/dev/null
files=$(dpkg -L demovar)

export HOME=$work/home
mkdir -p "$HOME" "$work/elsewhere"
cd "$work/elsewhere"
printf 'wait 300\n' > "$work/script.txt"  # the script's end ends the program
VARNOCK_PLATFORM=headless VARNOCK_SCRIPT=$work/script.txt varnock || no "the installed varnock ended with $?"
[ -s "$HOME/.local/share/demovar/error.log" ] || no "no error.log in the per-user folder"
man -w varnock >/dev/null 2>&1 || no "man varnock finds no page"

DEBIAN_FRONTEND=noninteractive apt-get remove --purge -y -qq demovar >/dev/null
left=$(echo "$files" | while read -r f; do [ -d "$f" ] || [ ! -e "$f" ] || echo "$f"; done; true)
[ -z "$left" ] || no "left after removal: $left"
[ ! -e /usr/share/demovar ] || no "/usr/share/demovar is left"
[ -s "$HOME/.local/share/demovar/error.log" ] || no "the user's files went with the package"
[ $fail = 0 ] && echo "Debian package test passed"
exit $fail
