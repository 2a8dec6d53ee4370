#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test, in steps:
#   format   every tracked C++ file laid out as .clang-format says;
#   debug    Debug with AddressSanitizer + UndefinedBehaviorSanitizer, warnings
#            as errors: every unit, golden, GUI (offscreen) and fuzz-replay
#            test, but not the slow ones labelled `release`;
#   release  Release, warnings as errors: the same tests again, but not the
#            slow ones labelled `sanitizer`; the benchmarks are compiled;
#   nogui    the data side alone, without Qt, must build and pass its tests
#            (the slow ones have run above);
#   fuzz     a short libFuzzer run of every reader, when clang is present;
#   windows  the data side and torva-cli cross-built for Windows, their tests
#            run under Wine, when mingw-w64 and Wine are present; with the
#            cached Windows libraries (windows-deps) the desktop program too:
#            every test program under Wine, the real window typed into under
#            Wine in Xvfb, and the installer installed and removed;
#   package  the Debian package: built, unpacked into a scratch root and run.
# Not in the default list: windows-deps, which builds the Windows libraries
# from Debian's sources into ~/.cache/torva-windows-deps (20-40 minutes once).
# A slow test runs in one build only: the one where it finds the most
# (`ctest -L slow` lists them; cmake/TabryTesting.cmake says how to mark one).
#
#   ./test.sh               every step
#   ./test.sh debug fuzz    only these steps, in this order
#
# Each step is a function `step_<name>` and one `steps+=` line below. Builds go
# through ccache when it is installed, so the nogui step reuses the release
# step's objects of the data side; CCACHE_DISABLE=1 turns that off.
set -euo pipefail
cd "$(dirname "$0")"
./tools/setup.sh

jobs=$(nproc 2>/dev/null || echo 2)
launcher=()
if command -v ccache >/dev/null 2>&1; then
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi

configure() { cmake --preset "$1" ${launcher[@]+"${launcher[@]}"} "${@:2}"; }

step_format() {
  ./tools/check-format.sh
}

# Not in the default list: the lint of the sources changed since main, over
# the debug build's compile database (`./test.sh debug tidy`).
step_tidy() {
  ./tools/run-clang-tidy.sh -p build/debug --changed
}

step_debug() {
  configure debug
  cmake --build --preset debug -j "$jobs"
  ctest --preset debug -j "$jobs" -LE '^release$'
}

step_release() {
  configure release
  cmake --build --preset release -j "$jobs"
  ctest --preset release -j "$jobs" -LE '^sanitizer$'
}

step_nogui() {
  configure nogui
  cmake --build --preset nogui -j "$jobs"
  ctest --preset nogui -j "$jobs" -LE '^slow$'
}

step_fuzz() {
  if ! command -v clang++ >/dev/null 2>&1; then
    echo "test.sh: no clang++, no fuzzing"
    return
  fi
  configure fuzz
  cmake --build --preset fuzz -j "$jobs" --target fuzz_stg_reader fuzz_playerdb_reader fuzz_field_split fuzz_report_inbox_reader
  ./fuzz/run-fuzzers.sh build/fuzz "${TABRY_FUZZ_SECONDS:-15}"
}

step_windows() {
  if ! command -v x86_64-w64-mingw32-g++-posix >/dev/null 2>&1 \
     || ! { command -v wine64 >/dev/null 2>&1 || [ -x /usr/lib/wine/wine64 ]; }; then
    echo "test.sh: no mingw-w64 or Wine, no Windows build"
    return
  fi
  if ! ./tools/windows-deps.sh --check; then
    if ! ./tools/windows-deps.sh --check libsodium; then
      echo "test.sh: no Windows libraries cached, no Windows build (./test.sh windows-deps builds them)"
      return
    fi
    echo "test.sh: Qt for Windows not cached, so the data side only (./test.sh windows-deps builds it)"
    windows_data_side
    return
  fi
  # The desktop build holds the data side's tests too, linked against the
  # shared runtime: one Windows build instead of two.
  configure windows-desktop
  cmake --build --preset windows-desktop -j "$jobs"
  local status=0
  ./tools/wine-run.sh "$PWD/build/windows-desktop/wine" --start
  ctest --preset windows-desktop -j "$jobs" || status=$?
  ./tools/wine-run.sh "$PWD/build/windows-desktop/wine" --stop
  [ "$status" -eq 0 ] || return "$status"
  ./tools/make-windows-release.sh --no-deps
  # The smoke test types the same keys into this machine's own build.
  if [ ! -x build/release/app/torva ]; then
    configure release >/dev/null
    cmake --build --preset release -j "$jobs" --target torva
  fi
  ./tools/windows-smoke-test.sh
  ./tools/windows-installer-test.sh
}

windows_data_side() {
  configure windows
  cmake --build --preset windows -j "$jobs"
  local status=0
  ./tools/wine-run.sh "$PWD/build/windows/wine" --start
  ctest --preset windows -j "$jobs" || status=$?
  ./tools/wine-run.sh "$PWD/build/windows/wine" --stop
  return "$status"
}

step_windows-deps() {
  nice -n 5 ./tools/windows-deps.sh
}

# Builds the package from the release tree, unpacks it with dpkg -x into a
# scratch root (this machine's system is never changed) and runs the
# installed torva-cli and torva there: tools/check-package.sh.
step_package() {
  configure release >/dev/null
  cmake --build --preset release -j "$jobs" --target torva torva-cli torva_manual torva_desktop_files
  ./tools/check-package.sh build/release
}

steps=()
steps+=(format)
steps+=(debug)
steps+=(release)
steps+=(nogui)
steps+=(fuzz)
steps+=(windows)
steps+=(package)
if [ $# -gt 0 ]; then
  steps=("$@")
fi

# Sets `cpu` to the CPU seconds (user + system) of every finished child so
# far. `times` must run in this shell: a $(...) subshell has no children.
times_file=$(mktemp); trap 'rm -f "$times_file"' EXIT
cpu_now() {
  times >"$times_file"
  cpu=$(awk 'NR == 2 { split($1, u, /[ms]/); split($2, s, /[ms]/); printf "%.0f", u[1] * 60 + u[2] + s[1] * 60 + s[2] }' "$times_file")
}

summary=()
for step in "${steps[@]}"; do
  if ! declare -F "step_$step" >/dev/null; then
    echo "test.sh: no step '$step'" >&2
    exit 2
  fi
done
for step in "${steps[@]}"; do
  echo "=== test.sh: $step"
  start=$SECONDS
  cpu_now; cpu_start=$cpu
  "step_$step"
  cpu_now
  summary+=("$(printf '%-10s %5d s wall %6d s CPU' "$step" $((SECONDS - start)) $((cpu - cpu_start)))")
done
printf '%s\n' "${summary[@]}"
echo "test.sh: all tests passed"
