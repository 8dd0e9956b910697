#!/usr/bin/env bash
# Builds Demovar's browser page (emscripten) into build-web/web, one static folder,
# and serves it on http://localhost:8080 with a plain static server. Installs what
# is needed first; safe to run again. PORT=N serves on another port.
set -euo pipefail
cd "$(dirname "$0")/.."
port=${PORT:-8080}
missing=()
for p in emscripten python3; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo=""; [ "$(id -u)" = 0 ] || sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
# Emscripten's optimiser needs Debian's acorn module, also when another Node
# comes first on the path.
export NODE_PATH=/usr/share/nodejs
emcmake cmake -S . -B build-web -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DDEMOVAR_TESTS=OFF -DDEMOVAR_BENCH=OFF >/dev/null
cmake --build build-web
echo "Demovar is served on http://localhost:$port/ (the folder build-web/web; Control-C stops)"
exec python3 -m http.server "$port" --directory build-web/web
