#!/usr/bin/env bash
# Grows the committed fuzz corpora: runs each fuzz target for a while from its
# committed corpus (fuzz/corpus/<target>) and earlier finds (fuzz/corpus-work/<target>,
# where scripts/test.sh also leaves its finds), then merges into the committed
# corpus only the inputs that reach code it did not reach yet (-merge=1). Prints
# each target's executions a second and corpus size.
#
#   scripts/fuzz-corpus.sh [SECONDS] [TARGET...]    (default 300 s, every target)
#
# One fuzzing process at a time (the machine may be shared); commit fuzz/corpus/
# afterwards.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-300}
shift || true

cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DDEMOVAR_WERROR=ON \
  -DCMAKE_C_COMPILER=clang-14 -DCMAKE_CXX_COMPILER=clang++-14 \
  -DDEMOVAR_FUZZ=ON -DDEMOVAR_TESTS=OFF -DDEMOVAR_BENCH=OFF > /dev/null
cmake --build build-fuzz > /dev/null

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for t in build-fuzz/fuzz/*/fuzz_*; do [ -x "$t" ] && targets+=("$(basename "$t")"); done
fi
printf '%-20s %10s %8s %8s %8s\n' target execs/s runs before after
for name in "${targets[@]}"; do
  name=${name#fuzz_}
  target=$(ls build-fuzz/fuzz/*/"fuzz_$name")
  committed="fuzz/corpus/$name"
  found="fuzz/corpus-work/$name"
  mkdir -p "$committed" "$found"
  before=$(ls "$committed" | wc -l)
  scratch=$(mktemp -d)
  # Crash files and logs go to the scratch directory, not the repository.
  (cd "$scratch" && "$OLDPWD/$target" -max_total_time="$seconds" -rss_limit_mb=2048 -timeout=10 \
     -print_final_stats=1 "$OLDPWD/$found" "$OLDPWD/$committed" > fuzz.log 2>&1) || {
    echo "$name: the fuzzer stopped with a finding; see $scratch/fuzz.log" >&2
    exit 1
  }
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$scratch/fuzz.log")
  rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$scratch/fuzz.log")
  (cd "$scratch" && "$OLDPWD/$target" -merge=1 -rss_limit_mb=2048 -timeout=10 \
     "$OLDPWD/$committed" "$OLDPWD/$found" > merge.log 2>&1)
  after=$(ls "$committed" | wc -l)
  printf '%-20s %10d %8d %8d %8d\n' "$name" "$rate" "$runs" "$before" "$after"
  rm -rf "$scratch"
done
du -sh fuzz/corpus
