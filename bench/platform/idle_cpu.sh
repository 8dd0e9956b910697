#!/bin/sh
# Measures the processor time of the open window while nobody uses it: starts the
# window probe under a virtual X server and reads its user + system time from
# /proc over 10 seconds. Usage: bench/platform/idle_cpu.sh BUILD_DIR
build=${1:-build}
probe="$build/tests/platform/platform_window_probe"
[ -x "$probe" ] || { echo "no $probe: build the target platform_window_probe first"; exit 1; }
xvfb-run -a -s "-screen 0 1280x1024x24" sh -c '
  "$0" 16 & pid=$!
  sleep 3
  t0=$(awk "{print \$14+\$15}" /proc/$pid/stat)
  sleep 10
  t1=$(awk "{print \$14+\$15}" /proc/$pid/stat)
  hz=$(getconf CLK_TCK)
  echo "idle window: $((t1 - t0)) clock ticks of 1/$hz s in 10 s = $(( (t1 - t0) * 1000 / hz / 10 )) per mille of a core"
  wait $pid' "$probe"
