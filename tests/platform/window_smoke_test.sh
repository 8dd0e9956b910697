#!/bin/sh
# Opens the real SDL window under a virtual X server and checks from outside that
# a window titled "Demovar" exists with a 640 x 480 drawable area. Exit 77 (skip)
# only when no virtual X server is installed.
probe="$1"
if ! command -v xvfb-run >/dev/null 2>&1 || ! command -v Xvfb >/dev/null 2>&1; then
  echo "Xvfb is not installed: skipped"
  exit 77
fi
command -v xdotool >/dev/null 2>&1 || { echo "xdotool is missing"; exit 1; }
# Under LeakSanitizer, the libraries SDL loads for a window and unloads again
# (D-Bus, input methods) leave small blocks that cannot be attributed; the
# layer's own allocations are checked by the unit tests.
ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"
export ASAN_OPTIONS
out=$(VARNOCK_PLATFORM= VARNOCK_SCALE= SDL_AUDIODRIVER=dummy \
  xvfb-run -a -s "-screen 0 1280x1024x24" sh -c '
  "$0" 4 & pid=$!
  timeout 20 xdotool search --sync --name "^Demovar\$" getwindowgeometry
  wait $pid; echo "probe exit $?"' "$probe" 2>&1)
echo "$out"
echo "$out" | grep -q "Geometry: 640x480" || { echo "FAIL: no 640x480 window titled Demovar"; exit 1; }
echo "$out" | grep -q "probe exit 0" || { echo "FAIL: the program did not end cleanly"; exit 1; }
echo "window test passed"
