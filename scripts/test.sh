#!/usr/bin/env bash
# Sets everything up and runs every test: the normal build (warnings as errors),
# the same tests under AddressSanitizer + UndefinedBehaviorSanitizer, and each
# fuzz target for a bounded time on its seed corpus.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc)
fuzz_seconds=${DEMOVAR_FUZZ_SECONDS:-30}

DEMOVAR_CMAKE_FLAGS="-DDEMOVAR_WERROR=ON" scripts/setup.sh

echo "== tests (release build)"
ctest --test-dir build --output-on-failure -j "$jobs"

echo "== the Debian package (installed with apt, run, removed)"
if [ "$(id -u)" = 0 ]; then
  bash tests/packaging/deb_test.sh build
else
  echo "skipped: installing a package needs root"
fi

echo "== tests (AddressSanitizer + UndefinedBehaviorSanitizer)"
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DDEMOVAR_WERROR=ON \
  -DDEMOVAR_SANITIZE=ON -DDEMOVAR_BENCH=OFF
cmake --build build-asan
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --test-dir build-asan --output-on-failure -j "$jobs"

echo "== fuzz targets (${fuzz_seconds}s each)"
cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DDEMOVAR_WERROR=ON \
  -DCMAKE_C_COMPILER=clang-14 -DCMAKE_CXX_COMPILER=clang++-14 \
  -DDEMOVAR_FUZZ=ON -DDEMOVAR_TESTS=OFF -DDEMOVAR_BENCH=OFF
cmake --build build-fuzz
# Each run starts from the committed corpus (fuzz/corpus/<target>, read only here)
# and what earlier runs on this machine found (fuzz/corpus-work/<target>, not
# committed), and writes its own finds there. scripts/fuzz-corpus.sh merges them
# into the committed corpus.
for target in build-fuzz/fuzz/*/fuzz_*; do
  [ -x "$target" ] || continue
  name=$(basename "$target")
  corpus_seed="fuzz/corpus/${name#fuzz_}"
  found="fuzz/corpus-work/${name#fuzz_}"
  mkdir -p "$found" "$corpus_seed"
  scratch=$(mktemp -d)
  echo "-- $name"
  (cd "$scratch" && "$OLDPWD/$target" -max_total_time="$fuzz_seconds" -rss_limit_mb=2048 \
     -timeout=10 -print_final_stats=0 "$OLDPWD/$found" "$OLDPWD/$corpus_seed" 2>&1 | tail -n 3)
  rm -rf "$scratch"
done
echo "== all tests passed"
