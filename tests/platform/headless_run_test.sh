#!/bin/sh
# Runs the window probe as a program is run for an end-to-end test: headless, with
# an input script named by VARNOCK_SCRIPT. Checks the events it receives, the
# screenshot it writes, the normal end when the script is used up, and the fatal
# end with a clear message when the script has an error or there is no display.
probe=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1
fail=0

cat > good.txt <<SCRIPT
# a comment
wait 30
click 10 20
key ctrl-q
type ab
screenshot $work/shot.png
SCRIPT
out=$(VARNOCK_PLATFORM=headless VARNOCK_SCRIPT=good.txt "$probe" 1000 events 2>&1)
status=$?
echo "$out"
[ $status = 0 ] || { echo "FAIL: exit status $status"; fail=1; }
expected="event 0 0 0 0
event 1 0 10 20
event 2 0 10 20
event 3 17 10 20
event 3 97 10 20
event 3 98 10 20"
[ "$out" = "$expected" ] || { echo "FAIL: events differ from:"; echo "$expected"; fail=1; }
head -c 8 shot.png | od -An -tx1 | grep -q "89 50 4e 47 0d 0a 1a 0a" || { echo "FAIL: no PNG screenshot"; fail=1; }

printf 'wait 10\nclick 10\n' > bad.txt
out=$(VARNOCK_PLATFORM=headless VARNOCK_SCRIPT=bad.txt "$probe" 1000 events 2>&1)
status=$?
echo "$out"
[ $status = 255 ] || { echo "FAIL: exit status $status for a bad script"; fail=1; }
echo "$out" | grep -q "Error in the script file bad.txt, line 2: \"click\" takes 2 arguments." ||
  { echo "FAIL: no clear message for the bad script"; fail=1; }

out=$(VARNOCK_PLATFORM=headless VARNOCK_SCRIPT=missing.txt "$probe" 1000 2>&1)
[ $? = 255 ] && echo "$out" | grep -q "Can't open the script file missing.txt." ||
  { echo "FAIL: a missing script is not reported"; fail=1; }

# Without a display and without the headless choice the program says so and ends.
out=$(env -u DISPLAY -u WAYLAND_DISPLAY -u VARNOCK_PLATFORM -u SDL_VIDEODRIVER "$probe" 1 2>/dev/null)
[ $? = 255 ] && echo "$out" | grep -q "Can't open the display: no display" ||
  { echo "FAIL: a missing display is not reported: $out"; fail=1; }

[ $fail = 0 ] && echo "headless run test passed"
exit $fail
