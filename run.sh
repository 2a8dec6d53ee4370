#!/usr/bin/env bash
# Installs what is missing, builds the program and starts it.
#   ./run.sh             the sample tournament's standings
#   ./run.sh FILE.stg    that tournament's standings
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
cd "$here"
./tools/setup.sh
cmake --preset release >/dev/null
cmake --build --preset release -j "$(nproc 2>/dev/null || echo 2)"

file=${1:-$here/examples/sample.stg}
exec build/release/cli/torva-cli --db "$here/examples/player.db" check "$file"
