#!/usr/bin/env bash
# Runs the checks of .clang-tidy over the sources of a build.
#   tools/run-clang-tidy.sh [-p BUILD_DIR] [-j N] [--changed [BASE]] [PATH...]
#     -p BUILD_DIR     a configured and built tree (default build/debug): its
#                      compile_commands.json gives each file's flags, and the
#                      build has generated the Qt forms and meta-object code
#     -j N             files checked at once (default: the number of cores)
#     --changed [BASE] only the sources that differ from BASE (default: the
#                      merge base with main), plus those whose header differs
#     PATH...          only sources under these files or folders (e.g. text pairing)
# Prints every finding and a count per check; exit 1 on any finding, 2 when
# the tools or the build are missing. Silence a finding only with a reason:
#   int x = y; // NOLINT(check-name): why this is right
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

build=$root/build/debug
jobs=$(nproc 2>/dev/null || echo 2)
changed=
base=
paths=()
while [ $# -gt 0 ]; do
  case "$1" in
    -p) build=$(cd "${2:?-p needs a build folder}" && pwd); shift 2 ;;
    -j) jobs=${2:?-j needs a number}; shift 2 ;;
    --changed)
      changed=1; shift
      if [ $# -gt 0 ] && [[ "$1" != -* ]] && git -C "$root" rev-parse -q --verify "$1^{commit}" >/dev/null; then
        base=$1; shift
      fi ;;
    -h | --help) sed -n '2,14p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
    -*) echo "run-clang-tidy: unknown option $1" >&2; exit 2 ;;
    *) paths+=("$(realpath -m -- "$1")"); shift ;;
  esac
done

tool=
for t in clang-tidy-14 clang-tidy; do
  if command -v "$t" >/dev/null 2>&1; then tool=$t; break; fi
done
if [ -z "$tool" ]; then
  echo "run-clang-tidy: clang-tidy is not installed (tools/setup.sh installs it)" >&2
  exit 2
fi
db=$build/compile_commands.json
if [ ! -f "$db" ]; then
  echo "run-clang-tidy: no $db; configure and build first (cmake --preset debug && cmake --build --preset debug)" >&2
  exit 2
fi

# Every source of the build but the generated ones (moc, the autogen
# folders), which live in the build tree and are not ours to fix.
mapfile -t sources < <(sed -n 's/^ *"file": "\(.*\)",\{0,1\}$/\1/p' "$db" | grep -v "^$build/" | sort -u)

if [ ${#paths[@]} -gt 0 ]; then
  keep=()
  for s in "${sources[@]}"; do
    for p in "${paths[@]}"; do
      if [ "$s" = "$p" ] || [[ "$s" == "$p"/* ]]; then keep+=("$s"); break; fi
    done
  done
  sources=(${keep[@]+"${keep[@]}"})
fi

if [ -n "$changed" ]; then
  if [ -z "$base" ]; then
    base=$(git -C "$root" merge-base HEAD main 2>/dev/null || git -C "$root" rev-parse HEAD)
  fi
  # Changes since BASE, committed or not; a changed header brings in the
  # sources of its own name (Foo.h -> Foo.cpp, FooTest.cpp).
  mapfile -t diff < <({ git -C "$root" diff --name-only "$base" --; git -C "$root" ls-files --others --exclude-standard; } | sort -u)
  stems=()
  for f in ${diff[@]+"${diff[@]}"}; do
    case "$f" in *.cpp | *.h) stems+=("$(basename "${f%.*}")") ;; esac
  done
  keep=()
  for s in "${sources[@]}"; do
    rel=${s#"$root"/}
    stem=$(basename "${s%.*}")
    for f in ${diff[@]+"${diff[@]}"}; do
      if [ "$rel" = "$f" ]; then keep+=("$s"); continue 2; fi
    done
    for t in ${stems[@]+"${stems[@]}"}; do
      if [ "$stem" = "$t" ] || [ "$stem" = "${t}Test" ]; then keep+=("$s"); continue 2; fi
    done
  done
  sources=(${keep[@]+"${keep[@]}"})
fi

if [ ${#sources[@]} -eq 0 ]; then
  echo "run-clang-tidy: no sources to check"
  exit 0
fi

# Findings in our own headers count, once per header; the build tree's
# generated headers and the system's do not.
dirs=$(git -C "$root" ls-files -- '*.h' | cut -d/ -f1 | sort -u | paste -sd'|')
header_filter="^$root/($dirs)/"

log=$(mktemp); trap 'rm -f "$log"' EXIT
echo "run-clang-tidy: ${#sources[@]} file(s) with $tool, $jobs at a time"
# The build may be GCC's: flags clang does not know are not findings.
printf '%s\0' "${sources[@]}" \
  | xargs -0 -n 1 -P "$jobs" "$tool" -p "$build" --quiet --header-filter="$header_filter" \
      --extra-arg=-Wno-unknown-warning-option >"$log" 2>&1 || true

# One line per finding, each header's finding once however many sources reach it.
findings=$(grep -E '^[^ ].*:[0-9]+:[0-9]+: (warning|error): .*\[[a-z0-9.,-]+\]$' "$log" | sort -u || true)
if [ -z "$findings" ]; then
  if grep -qE '(error|Error)' "$log"; then
    cat "$log" >&2
    echo "run-clang-tidy: clang-tidy failed without a finding (see above)" >&2
    exit 2
  fi
  echo "run-clang-tidy: no findings"
  exit 0
fi
# Each finding once, with the lines clang-tidy printed under it (a header's
# finding is reported by every source that includes it).
awk '
  /^[^ ].*:[0-9]+:[0-9]+: (warning|error): .*\]$/ { key = $0; keep = !(key in seen); seen[key] = 1 }
  /^[0-9]+ (warning|error)s? (generated|treated)|^Suppressed|^Use -header-filter|^Error while processing/ { keep = 0; next }
  keep { print }
' "$log"
echo
echo "run-clang-tidy: findings per check"
sed -E 's/.*\[([a-z0-9.,-]+)\]$/\1/' <<<"$findings" | tr ',' '\n' | grep -v '^-warnings-as-errors$' | sort | uniq -c | sort -rn
echo "run-clang-tidy: $(wc -l <<<"$findings") finding(s)" >&2
exit 1
