#!/usr/bin/env bash
# The format and lint scripts on scratch files: each must fail on a file that
# breaks its rules, name the file (and the check), and pass the file once it
# is put right. Exit 77 (skipped) when the tool is not installed.
#   tests/tooling/tooling-test.sh format|tidy
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
scratch=$(mktemp -d); trap 'rm -rf "$scratch"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

case "${1:?usage: tooling-test.sh format|tidy}" in
format)
  command -v clang-format-14 >/dev/null || command -v clang-format >/dev/null || { echo "clang-format missing"; exit 77; }
  printf 'int Twice(int x) { return 2*x; }\n' >"$scratch/Bad.cpp"
  printf 'int Twice(int x)\n{\n    return 2 * x;\n}\n' >"$scratch/Good.cpp"
  rc=0; out=$("$root/tools/check-format.sh" "$scratch/Bad.cpp" "$scratch/Good.cpp" 2>&1) || rc=$?
  [ "$rc" -eq 1 ] || fail "a misformatted file gave exit $rc: $out"
  grep -q 'Bad.cpp' <<<"$out" || fail "the misformatted file is not named: $out"
  ! grep -q 'Good.cpp' <<<"$out" || fail "a formatted file is named: $out"
  "$root/tools/check-format.sh" format "$scratch/Bad.cpp"
  cmp -s "$scratch/Bad.cpp" "$scratch/Good.cpp" || fail "format mode did not give the expected layout: $(cat "$scratch/Bad.cpp")"
  "$root/tools/check-format.sh" "$scratch/Bad.cpp" >/dev/null || fail "the reformatted file still fails"
  ;;
tidy)
  command -v clang-tidy-14 >/dev/null || command -v clang-tidy >/dev/null || { echo "clang-tidy missing"; exit 77; }
  mkdir -p "$scratch/src" "$scratch/build"
  # A use after move: the kind of fault the checks are there for.
  cat >"$scratch/src/Moved.cpp" <<'CPP'
#include <string>
#include <utility>
std::size_t Moved(std::string s)
{
    std::string t = std::move(s);
    return s.size() + t.size();
}
CPP
  # Laid out as CMake writes it, one key a line.
  cat >"$scratch/build/compile_commands.json" <<JSON
[
{
  "directory": "$scratch/build",
  "command": "c++ -std=c++20 -o Moved.o -c $scratch/src/Moved.cpp",
  "file": "$scratch/src/Moved.cpp"
}
]
JSON
  # .clang-tidy is found from the source's folder upwards.
  cp "$root/.clang-tidy" "$scratch/.clang-tidy"
  rc=0; out=$("$root/tools/run-clang-tidy.sh" -p "$scratch/build" 2>&1) || rc=$?
  [ "$rc" -eq 1 ] || fail "a use after move gave exit $rc: $out"
  grep -q 'Moved.cpp:6:.*bugprone-use-after-move' <<<"$out" || fail "the finding is not named: $out"
  sed -i 's/return s.size() + t.size();/return t.size();/' "$scratch/src/Moved.cpp"
  "$root/tools/run-clang-tidy.sh" -p "$scratch/build" >/dev/null || fail "the mended file still fails"
  ;;
*) fail "unknown case $1" ;;
esac
echo "passed"
