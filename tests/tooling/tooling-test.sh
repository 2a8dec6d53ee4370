#!/usr/bin/env bash
# The format check on a scratch file: it must fail on a file that breaks the
# layout, name it, and pass it once it is formatted. Exit 77 (skipped) when
# clang-format is not installed.
#   tests/tooling/tooling-test.sh format
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
scratch=$(mktemp -d); trap 'rm -rf "$scratch"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

case "${1:?usage: tooling-test.sh format}" in
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
*) fail "unknown case $1" ;;
esac
echo "passed"
