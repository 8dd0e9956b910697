#!/usr/bin/env bash
# Sets everything up and starts the program on its bundled data.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cd data
exec ../build/src/app/varnock "$@"
