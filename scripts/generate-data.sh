#!/usr/bin/env bash
# Regenerates the program's data from its sources: the country list
# (data/dbase/country.maf) with its name aliases (data/dbase/aliases.maf), one
# database per entry (data/dbase/*.dat), the two map
# pictures (data/images/regions.rl8, data/images/countries.rl8) and data/config.mcf,
# from UN World Population Prospects 2019 and Natural Earth. The program never does
# this itself; the results are committed.
#
#   scripts/generate-data.sh [SOURCE_DIR]
#
# SOURCE_DIR (default $DEMOVAR_SOURCE_DATA_DIR, else ../shared/data beside the
# repository) holds wpp2019/ and world-atlas/. The build directory is
# $DEMOVAR_BUILD_DIR (default build). The output is the same byte for byte on every run.
set -euo pipefail
cd "$(dirname "$0")/.."
source_dir=${1:-${DEMOVAR_SOURCE_DATA_DIR:-../shared/data}}
build=${DEMOVAR_BUILD_DIR:-build}
if [ ! -f "$source_dir/wpp2019/popM.txt" ] || [ ! -f "$source_dir/world-atlas/countries-50m.geojson" ]; then
  echo "generate-data: no source data in $source_dir (wpp2019/, world-atlas/)" >&2
  exit 1
fi
[ -f "$build/CMakeCache.txt" ] || cmake -S . -B "$build" -G Ninja
cmake --build "$build" --target make_world_data
# Entries dropped from the list must not leave their files behind.
rm -f data/dbase/*.dat data/dbase/country.maf data/dbase/aliases.maf
"$build/tools/worlddata/make_world_data" "$source_dir" data
