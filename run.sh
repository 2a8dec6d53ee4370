#!/usr/bin/env bash
# Installs what is missing, builds the desktop program and starts it.
#   ./run.sh             a new tournament
#   ./run.sh FILE.stg    that tournament
# Other arguments go to the program (e.g. --no-association-check).
#
# On the first run the sample player database (examples/player.db) is copied
# beside the program when no database is there; an existing one is never
# replaced. Without a display the window cannot open: torva-cli does the same
# work on files from the command line.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)

# File names are taken relative to where run.sh was called from.
args=()
for a in "$@"; do
  if [[ "$a" == -* ]]; then
    args+=("$a")
  else
    args+=("$(realpath -m -- "$a")")
  fi
done

cd "$here"
./tools/setup.sh
cmake --preset release >/dev/null
cmake --build --preset release -j "$(nproc 2>/dev/null || echo 2)" --target torva torva-cli torva_manual

bin=build/release/app
if [ ! -e "$bin/player.db" ] && [ -f examples/player.db ]; then
  cp examples/player.db "$bin/player.db"
  echo "run.sh: copied examples/player.db to $bin/player.db"
fi

if [ "$(uname -s)" = Linux ] && [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] \
   && [[ "${QT_QPA_PLATFORM:-}" != offscreen* && "${QT_QPA_PLATFORM:-}" != minimal* && "${QT_QPA_PLATFORM:-}" != vnc* ]]; then
  cat >&2 <<MSG
run.sh: there is no display here (neither DISPLAY nor WAYLAND_DISPLAY is set),
so the desktop program cannot open its window. It is built at
  $here/$bin/torva
and starts on a machine with a desktop. Without one, torva-cli does the same
work on tournament files, for example:
  $here/build/release/cli/torva-cli --db $here/examples/player.db check $here/examples/sample.stg
  $here/build/release/cli/torva-cli --db $here/examples/player.db report --format text --utf8 $here/examples/sample.stg
MSG
  exit 2
fi

exec "$bin/torva" ${args[@]+"${args[@]}"}
