#!/usr/bin/env bash
# Runs a cross-built Windows program under Wine, for CTest in the "windows"
# preset (its CMAKE_CROSSCOMPILING_EMULATOR):
#   tools/wine-run.sh PREFIX PROGRAM.exe [ARGS...]
#   tools/wine-run.sh PREFIX --start   keeps that prefix's Wine server up
#   tools/wine-run.sh PREFIX --stop    ends that prefix's Wine processes
# PREFIX is the Wine prefix to use; it is made on first use, once even when
# several tests start at the same moment (a first start takes a few seconds).
# Debian's wine64 package puts the loader in Wine's library folder, not on
# PATH, so that is searched too.
set -euo pipefail
prefix=$1
shift

loader=$(command -v wine64 || command -v wine || true)
for candidate in /usr/lib/wine/wine64 /usr/lib/x86_64-linux-gnu/wine/wine64; do
  if [ -z "$loader" ] && [ -x "$candidate" ]; then
    loader=$candidate
  fi
done
if [ -z "$loader" ]; then
  echo "wine-run.sh: Wine is not installed (Debian package wine64)" >&2
  exit 127
fi

# The server beside the loader: the one that serves this prefix.
server=$(dirname "$loader")/wineserver
[ -x "$server" ] || server=$(command -v wineserver || true)

if [ "${1:-}" = --stop ]; then
  if [ -d "$prefix" ] && [ -n "$server" ]; then
    WINEPREFIX=$prefix "$server" -k 2>/dev/null || true
  fi
  exit 0
fi

export WINEPREFIX=$prefix
# The desktop build's programs load Qt's DLLs and the shared mingw runtime
# from the folders the build lists beside the prefix (TabryWindowsRuntime).
if [ -s "$prefix.path" ]; then
  WINEPATH=$(tr '\n' ';' <"$prefix.path")
  export WINEPATH=${WINEPATH%;}
fi
# Wine keeps file names in the charset of the Unix locale: under the C
# locale the tests pin, every Japanese name would fail. (The programs' own
# Windows locale and ANSI code page stay those of a Western system.)
export LC_ALL=C.UTF-8
export WINEDEBUG=${WINEDEBUG:--all}
# Wine keeps the Unix side's QT_* variables away from Windows programs (they
# belong to the host's Qt) and passes WINEQT_* under the QT_* name instead:
# the tests' platform and font folder are meant for the Windows program.
for name in $(compgen -e); do
  case $name in QT_*) export "WINE$name=${!name}" ;; esac
done
# No Mono or Gecko installer dialogs: nothing here needs them.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}

if [ "${1:-}" = --start ]; then
  # A Wine server ends three seconds after its last program; a program that
  # starts in that moment loses its connection ("wine client error ...
  # Connection reset by peer"). Tests run in parallel start and end programs
  # all the time, so for a test run the server stays up until --stop. A
  # server already running would keep its own timeout, so it is ended first.
  # Wine's own services then start here, away from any test's output: they
  # live as long as the server, and a test whose pipes they held would
  # never be seen to end.
  [ -n "$server" ] || exit 0
  mkdir -p "$prefix"
  "$server" -k 2>/dev/null || true
  "$server" -w 2>/dev/null || true
  "$server" -p </dev/null >/dev/null 2>&1 || true
  "$loader" wineboot </dev/null >/dev/null 2>&1 || true
  touch "$prefix/.ready"
  exit 0
fi

if [ ! -e "$prefix/.ready" ]; then
  mkdir -p "$(dirname "$prefix")"
  (
    flock 9
    if [ ! -e "$prefix/.ready" ]; then
      "$loader" wineboot --init </dev/null >/dev/null 2>&1 || true
      touch "$prefix/.ready"
    fi
  ) 9>"$prefix.lock"
fi
exec "$loader" "$@"
