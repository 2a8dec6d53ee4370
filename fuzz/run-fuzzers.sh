#!/usr/bin/env bash
# Runs every libFuzzer target of a fuzz build for a while, seeded with the
# committed corpus (new finds go to a scratch folder, not into the tree). The
# targets run side by side, as many at once as there are cores.
#   fuzz/run-fuzzers.sh BUILD_DIR SECONDS
# For the long run of a release, see fuzz/run-long.sh.
set -euo pipefail
build=${1:?usage: run-fuzzers.sh BUILD_DIR SECONDS}
seconds=${2:-15}
here=$(cd "$(dirname "$0")" && pwd)
scratch=$(mktemp -d); trap 'rm -rf "$scratch"' EXIT
targets=(stg_reader playerdb_reader field_split report_inbox_reader)

fuzz_one() {
  local f=$1
  mkdir -p "$scratch/$f"
  if "$build/fuzz/fuzz_$f" -max_total_time="$seconds" -max_len=65536 -rss_limit_mb=1024 -print_final_stats=1 \
      -artifact_prefix="$scratch/$f-" "$scratch/$f" "$here/corpus/$f" >"$scratch/$f.log" 2>&1; then
    touch "$scratch/$f.ok"
  fi
}
export -f fuzz_one
export build seconds here scratch

echo "fuzzing ${targets[*]} for ${seconds}s each"
printf '%s\n' "${targets[@]}" | xargs -P "$(nproc 2>/dev/null || echo 2)" -I{} bash -c 'fuzz_one {}'

failed=0
for f in "${targets[@]}"; do
  if [ -e "$scratch/$f.ok" ]; then
    echo "fuzz_$f: $(sed -n 's/^stat::number_of_executed_units: *//p' "$scratch/$f.log") runs," \
      "$(sed -n 's/^stat::average_exec_per_sec: *//p' "$scratch/$f.log")/s, no failure"
  else
    grep -v '^#' "$scratch/$f.log" | tail -n 40
    echo "fuzz_$f found a failure; the input is printed above (Base64)" >&2
    failed=1
  fi
done
exit "$failed"
