#!/usr/bin/env bash
# What the program costs while nobody touches it: starts varnock in its real window
# under a virtual X server, on a scratch copy of the data, lets it draw its first
# screen, then reads the processor time of all its threads from
# /proc/PID/task/*/schedstat (nanoseconds on a core, finer than clock ticks) at the
# start and the end of SECONDS of rest, and prints the share of one core.
# Usage: bench/app/idle_cpu.sh [BUILD_DIR [SECONDS]]     (default build, 60)
set -euo pipefail
build=$(realpath "${1:-build}")
seconds=${2:-60}
here=$(cd "$(dirname "$0")/../.." && pwd)
varnock="$build/src/app/varnock"
[ -x "$varnock" ] || { echo "no $varnock: build the target varnock first"; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
source "$here/tests/app/session_helpers.sh"
lay_out_session_data "$work" "$here/data"
cd "$work"
unset VARNOCK_PLATFORM VARNOCK_SCRIPT
xvfb-run -a -s '-screen 0 1280x1024x24' bash -c '
  "$0" --scale 1 >/dev/null 2>&1 & pid=$!
  sleep 5
  # Nanoseconds on a core, summed over the threads of the process.
  used() { cat /proc/$pid/task/*/schedstat | awk "{ s += \$1 } END { printf \"%d\", s }"; }
  t0=$(used); s0=$(date +%s%N)
  [ "$t0" -gt 0 ] || { echo "the program is not running"; exit 1; }
  sleep "$1"
  t1=$(used); s1=$(date +%s%N)
  kill -0 $pid 2>/dev/null || { echo "the program ended before the measurement did"; exit 1; }
  kill $pid; wait $pid 2>/dev/null || true
  awk -v cpu=$((t1 - t0)) -v wall=$((s1 - s0)) "BEGIN {
    printf \"idle window: %.1f ms on a core in %.1f s = %.3f %% of a core\n\", cpu / 1e6, wall / 1e9, 100 * cpu / wall }"
' "$varnock" "$seconds"
