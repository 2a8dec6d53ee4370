#!/usr/bin/env bash
# A long libFuzzer run of every target of a fuzz build: a fixed number of
# executions each (ten million unless told), for the figures a release note
# quotes and for the finds a 15-second run cannot reach.
#   fuzz/run-long.sh [-j N] [-r RUNS] BUILD_DIR [OUT_DIR]
#     -j N      targets fuzzed at once (default 1: each gets a core to itself)
#     -r RUNS   executions per target (default 10000000)
#     OUT_DIR   default BUILD_DIR/long-run: per target the grown corpus, the
#               log and any crash inputs; summary.txt holds the figures
# A run continues from the corpus an earlier run left in OUT_DIR. A crash is
# kept (OUT_DIR/<target>/crash-*) and the run goes on with the executions
# left, up to five crashes per target; the exit status is 1 if any occurred.
# The committed corpus is only read: a crash becomes a corpus file by hand,
# together with its fix.
set -euo pipefail
jobs=1
runs=10000000
while getopts 'j:r:' opt; do
  case $opt in
    j) jobs=$OPTARG ;;
    r) runs=$OPTARG ;;
    *) sed -n '2,14p' "$0" | sed 's/^# \{0,1\}//' >&2; exit 2 ;;
  esac
done
shift $((OPTIND - 1))
build=$(cd "${1:?usage: run-long.sh [-j N] [-r RUNS] BUILD_DIR [OUT_DIR]}" && pwd)
out=${2:-$build/long-run}
here=$(cd "$(dirname "$0")" && pwd)
mkdir -p "$out"
targets=(stg_reader playerdb_reader field_split report_inbox_reader)

# One target: runs until `runs` executions are done or five crashes, then
# writes one summary line.
fuzz_one() {
  local name=$1 dir=$out/$1 done_runs=0 crashes=0 peak=0 seconds=0 attempt=0
  mkdir -p "$dir/corpus"
  : >"$dir/log"
  while [ "$done_runs" -lt "$runs" ] && [ "$crashes" -lt 5 ]; do
    attempt=$((attempt + 1))
    local left=$((runs - done_runs)) start end rc=0
    start=$(date +%s.%N)
    "$build/fuzz/fuzz_$name" -runs="$left" -max_len=65536 -rss_limit_mb=2048 -timeout=60 \
      -print_final_stats=1 -artifact_prefix="$dir/" "$dir/corpus" "$here/corpus/$name" \
      >"$dir/log.$attempt" 2>&1 || rc=$?
    end=$(date +%s.%N)
    cat "$dir/log.$attempt" >>"$dir/log"
    local n p
    n=$(sed -n 's/^stat::number_of_executed_units: *\([0-9]*\)/\1/p' "$dir/log.$attempt" | tail -n 1)
    p=$(sed -n 's/^stat::peak_rss_mb: *\([0-9]*\)/\1/p' "$dir/log.$attempt" | tail -n 1)
    rm -f "$dir/log.$attempt"
    done_runs=$((done_runs + ${n:-0}))
    [ "${p:-0}" -gt "$peak" ] && peak=$p
    seconds=$(awk -v s="$seconds" -v a="$start" -v b="$end" 'BEGIN { printf "%.0f", s + b - a }')
    if [ "$rc" -ne 0 ]; then
      crashes=$((crashes + 1))
      # A crash that reports no executions would loop forever.
      [ "${n:-0}" -gt 0 ] || break
    fi
  done
  # CPU time as well as wall time: on a shared machine the rate per CPU
  # second is the figure that compares between runs.
  # (`times` in this shell, not in a $(...) subshell, which has no children.)
  local cpu
  times >"$dir/times"
  cpu=$(awk 'NR == 2 { split($1, u, /[ms]/); split($2, s, /[ms]/); printf "%.0f", u[1] * 60 + u[2] + s[1] * 60 + s[2] }' "$dir/times")
  rm -f "$dir/times"
  local rate=0 cpu_rate=0
  [ "$seconds" -gt 0 ] && rate=$((done_runs / seconds))
  [ "$cpu" -gt 0 ] && cpu_rate=$((done_runs / cpu))
  printf '%-16s %11d %8d %7d %8d %8d %7d %8d\n' "$name" "$done_runs" "$seconds" "$rate" "$cpu" "$cpu_rate" \
    "$crashes" "$peak" >"$dir/summary"
}

export -f fuzz_one
export build out here runs
printf '%s\n' "${targets[@]}" | xargs -P "$jobs" -I{} bash -c 'fuzz_one {}'

{
  printf '%-16s %11s %8s %7s %8s %8s %7s %8s\n' target executions wall_s exec/s cpu_s exec/cpu_s crashes peak_MB
  for t in "${targets[@]}"; do cat "$out/$t/summary"; done
} | tee "$out/summary.txt"
if find "$out" -mindepth 2 -maxdepth 2 \( -name 'crash-*' -o -name 'leak-*' -o -name 'timeout-*' -o -name 'oom-*' \) \
  | grep -q .; then
  echo "run-long: failures kept in $out (reproduce with: $build/fuzz/fuzz_TARGET FILE)" >&2
  exit 1
fi
