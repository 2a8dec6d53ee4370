#!/usr/bin/env bash
# Checks or applies the layout of .clang-format.
#   tools/check-format.sh [check] [FILE...]   list the files that differ; exit 1 if any
#   tools/check-format.sh diff [FILE...]      ... and show what would change
#   tools/check-format.sh format [FILE...]    rewrite them in place
# Without FILE: every C++ source and header git tracks (generated tables, *.inc,
# are data and left alone). The version is pinned to clang-format 14, because
# each major version lays out some constructs differently and a check that
# depends on the machine's version would fail on an untouched tree.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

mode=check
case "${1:-}" in
  check | diff | format) mode=$1; shift ;;
  -h | --help) sed -n '2,9p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
  -*) echo "check-format: unknown option $1" >&2; exit 2 ;;
esac

want=14
tool=${CLANG_FORMAT:-}
if [ -z "$tool" ]; then
  for t in clang-format-$want clang-format; do
    if command -v "$t" >/dev/null 2>&1; then tool=$t; break; fi
  done
fi
if [ -z "$tool" ]; then
  echo "check-format: clang-format $want is not installed (tools/setup.sh installs it)" >&2
  exit 2
fi
version=$("$tool" --version | sed -n 's/.*clang-format version \([0-9]*\).*/\1/p')
if [ "$version" != "$want" ]; then
  echo "check-format: $tool is version ${version:-unknown}, the layout is pinned to $want" >&2
  exit 2
fi

files=()
if [ $# -gt 0 ]; then
  files=("$@")
else
  while IFS= read -r f; do files+=("$root/$f"); done < <(git -C "$root" ls-files -- '*.cpp' '*.h')
fi

# The style file is named explicitly so that a file outside the tree (a test's
# scratch file) is held to the same rules.
style="--style=file:$root/.clang-format"

for f in "${files[@]}"; do
  if [ ! -f "$f" ]; then
    echo "check-format: no such file: $f" >&2
    exit 2
  fi
done

if [ "$mode" = format ]; then
  printf '%s\0' "${files[@]}" | xargs -0 -r "$tool" "$style" -i
  exit 0
fi

# One clang-format run over every file: --dry-run -Werror names each file that
# would change, in a tenth of the time of formatting them one by one.
rc=0
report=$(printf '%s\0' "${files[@]}" | xargs -0 -r "$tool" "$style" --dry-run -Werror 2>&1 >/dev/null) || rc=$?
bad=()
while IFS= read -r f; do
  [ -n "$f" ] && bad+=("$f")
done < <(sed -n 's/^\(.*\):[0-9]*:[0-9]*: error: code should be clang-formatted.*/\1/p' <<<"$report" | awk '!seen[$0]++')
if [ "$rc" -ne 0 ] && [ ${#bad[@]} -eq 0 ]; then
  # Failed for another reason (a broken style file, an unreadable file).
  printf '%s\n' "$report" >&2
  exit 2
fi

if [ ${#bad[@]} -eq 0 ]; then
  echo "check-format: ${#files[@]} file(s) formatted"
  exit 0
fi
for f in "${bad[@]}"; do
  echo "${f#"$root"/}"
  if [ "$mode" = diff ]; then
    "$tool" "$style" -- "$f" | diff -u --label "${f#"$root"/}" --label "${f#"$root"/} (formatted)" "$f" - || true
  fi
done
echo "check-format: ${#bad[@]} of ${#files[@]} file(s) not formatted; tools/check-format.sh format FILE... fixes them" >&2
exit 1
