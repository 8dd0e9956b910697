#!/bin/sh
# Runs the window probe as a program is run for an end-to-end test: headless, with
# an input script named by VARNOCK_SCRIPT. A script with an error and a missing
# display each end the program with a clear message.
probe=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1
fail=0
printf 'wait 10\nclick 10\n' > bad.txt
out=$(VARNOCK_PLATFORM=headless VARNOCK_SCRIPT=bad.txt "$probe" 1000 events 2>&1)
[ $? = 255 ] && echo "$out" | grep -q "Error in the script file bad.txt, line 2: \"click\" takes 2 arguments." ||
  { echo "FAIL: no clear message for the bad script: $out"; fail=1; }
# Without a display and without the headless choice the program says so and ends.
out=$(env -u DISPLAY -u WAYLAND_DISPLAY -u VARNOCK_PLATFORM -u SDL_VIDEODRIVER "$probe" 1 2>/dev/null)
[ $? = 255 ] && echo "$out" | grep -q "Can't open the display: no display" ||
  { echo "FAIL: a missing display is not reported: $out"; fail=1; }
[ $fail = 0 ] && echo "headless run test passed"
exit $fail
