#!/usr/bin/env bash
# Installs the Debian packages the project needs (skipping those already there)
# and builds the program in build/. Safe to run again.
set -euo pipefail
cd "$(dirname "$0")/.."

mapfile -t wanted < <(grep -v -E '^\s*(#|$)' scripts/debian-packages.txt)
missing=()
for p in "${wanted[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' && continue
  # Node's own packages bring npm with them: then Debian's npm is not wanted.
  [ "$p" = npm ] && command -v npm >/dev/null && continue
  missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo=""; [ "$(id -u)" = 0 ] || sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo ${DEMOVAR_CMAKE_FLAGS:-}
cmake --build build
