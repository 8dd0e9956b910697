#!/usr/bin/env bash
# Runs the backtest of the projection engine against WPP 2019 and rewrites
# docs/backtest.md: every list entry projected 1990 -> 2020 -> 2050 with the
# program's own engine, steered by WPP's observed and medium-variant figures.
#
#   scripts/backtest.sh [SOURCE_DIR]
#
# SOURCE_DIR defaults to $DEMOVAR_SOURCE_DATA_DIR, else ../shared/data; the build
# directory is $DEMOVAR_BUILD_DIR (default build).
set -euo pipefail
cd "$(dirname "$0")/.."
source_dir=${1:-${DEMOVAR_SOURCE_DATA_DIR:-../shared/data}}
build=${DEMOVAR_BUILD_DIR:-build}
[ -f "$source_dir/wpp2019/popM.txt" ] || { echo "backtest: no source data in $source_dir" >&2; exit 1; }
[ -f "$build/CMakeCache.txt" ] || cmake -S . -B "$build" -G Ninja
cmake --build "$build" --target make_backtest
mkdir -p docs
"$build/tools/backtest/make_backtest" "$source_dir" data docs/backtest.md
