#!/usr/bin/env bash
# Runs every libFuzzer target of a fuzz build for a while, seeded with the
# committed corpus (new finds go to a scratch folder, not into the tree).
#   fuzz/run-fuzzers.sh BUILD_DIR SECONDS
set -euo pipefail
build=${1:?usage: run-fuzzers.sh BUILD_DIR SECONDS}
seconds=${2:-15}
here=$(cd "$(dirname "$0")" && pwd)
scratch=$(mktemp -d); trap 'rm -rf "$scratch"' EXIT
for f in stg_reader playerdb_reader field_split; do
  mkdir -p "$scratch/$f"
  echo "fuzzing $f for ${seconds}s"
  if ! "$build/fuzz/fuzz_$f" -max_total_time="$seconds" -max_len=65536 -rss_limit_mb=1024 -print_final_stats=1 \
      -artifact_prefix="$scratch/" "$scratch/$f" "$here/corpus/$f" >"$scratch/$f.log" 2>&1; then
    grep -v '^#' "$scratch/$f.log" | tail -n 40
    echo "fuzz_$f found a failure; the input is printed above (Base64)" >&2
    exit 1
  fi
  tail -n 4 "$scratch/$f.log"
done
