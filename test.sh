#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test:
#   1. Debug with AddressSanitizer + UndefinedBehaviorSanitizer, warnings as
#      errors: every unit, golden, GUI (offscreen) and fuzz-replay test;
#   2. Release, warnings as errors: the same tests again, and the benchmarks
#      are compiled;
#   3. the data side alone, without Qt, must build and pass its tests;
#   4. a short libFuzzer run of every reader, when clang is present;
#   5. the data side and torva-cli cross-built for Windows, their tests run
#      under Wine, when mingw-w64 and Wine are present.
#   6. the Debian package: built, unpacked into a scratch root and run.
set -euo pipefail
cd "$(dirname "$0")"
./tools/setup.sh

jobs=$(nproc 2>/dev/null || echo 2)

cmake --preset debug
cmake --build --preset debug -j "$jobs"
ctest --preset debug

cmake --preset release
cmake --build --preset release -j "$jobs"
ctest --preset release

cmake --preset nogui
cmake --build --preset nogui -j "$jobs"
ctest --preset nogui

if command -v clang++ >/dev/null 2>&1; then
  cmake --preset fuzz
  cmake --build --preset fuzz -j "$jobs"
  ./fuzz/run-fuzzers.sh build/fuzz "${TABRY_FUZZ_SECONDS:-15}"
fi

# ---- Windows: the data side and torva-cli for Windows, tests under Wine ----
if command -v x86_64-w64-mingw32-g++-posix >/dev/null 2>&1 \
   && { command -v wine64 >/dev/null 2>&1 || [ -x /usr/lib/wine/wine64 ]; }; then
  cmake --preset windows
  cmake --build --preset windows -j "$jobs"
  windows_status=0
  ctest --preset windows || windows_status=$?
  ./tools/wine-run.sh "$PWD/build/windows/wine" --stop
  [ "$windows_status" -eq 0 ]
fi
# ---- end of Windows ----

# ---- Debian package (begin) ---------------------------------------------------
# Builds the package from the release tree, unpacks it with dpkg -x into a
# scratch root (this machine's system is never changed) and runs the
# installed torva-cli and torva there: tools/check-package.sh.
cmake --preset release >/dev/null
cmake --build --preset release -j "$jobs" --target torva torva-cli torva_manual torva_desktop_files
./tools/check-package.sh build/release
# ---- Debian package (end) -----------------------------------------------------

echo "test.sh: all tests passed"
