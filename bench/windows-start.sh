#!/usr/bin/env bash
# How long the desktop program takes to show its window with a 512-player
# tournament open: this machine's build against the Windows release under
# Wine, both in the same Xvfb, each started RUNS times (median and range).
# The time runs from the start of the process to the main window, with the
# file in its title, being mapped; Wine's own start (its server already runs)
# is part of the Windows figure, as it is part of what the organiser waits for.
# The first start of each is given apart: Wine's first window in a new prefix
# also sets up its fonts (about ten seconds, once), which the later starts
# and a real Windows do not pay.
#   bench/windows-start.sh [RUNS]   (after ./test.sh release windows)
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-5}
linux=build/release/app/torva
stage=$(ls -d build/windows-release/torva-*/ | head -n 1)
source tools/wine-xvfb.sh

# 512 players, 8 rounds played: in round r each row meets the row whose
# number differs in bit r, and the lower row wins.
python3 - "$scratch/t512.stg" <<'EOF'
import sys
rows = 512
rounds = 8
lines = [f"{rows},{rounds},1,1,60", "##Format: 1", "##Tournament: 512人大会"]
for i in range(rows):
    fields = [f"選手 {i:03d}", f"選{i:03d}", "0", "東京", f"p{i:03d}", str(20000 + i)]
    for r in range(rounds):
        o = i ^ (1 << r)
        d = 2 * ((min(i, o) + r) % 16 + 1)
        fields += [str(o), "1" if i < o else "-1", str(d if i < o else -d), "0"]
    lines.append(",".join(fields))
with open(sys.argv[1], "wb") as f:
    f.write(("\r\n".join(lines) + "\r\n").encode("cp932"))
EOF

# Prints the seconds from start to the window, for one start of "$@".
one() {
  local start end pid file=$1
  shift
  start=$(date +%s.%N)
  "$@" "$file" >/dev/null 2>&1 &
  pid=$!
  until xdotool search --onlyvisible --name 't512' >/dev/null 2>&1; do sleep 0.05; done
  end=$(date +%s.%N)
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  # Gone before the next start looks for its window.
  while xdotool search --onlyvisible --name 't512' >/dev/null 2>&1; do sleep 0.05; done
  echo "$end - $start" | bc
}
summary() {
  sort -n | awk -v name="$1" '{ v[NR] = $1 } END { printf "%-7s median %.2f s (min %.2f, max %.2f, %d runs)\n", name, v[int((NR + 1) / 2)], v[1], v[NR], NR }'
}

mkdir -p "$scratch/linux"
cp "$linux" "$scratch/linux/"
linux_start() { one "$scratch/t512.stg" "${as_linux[@]}" "$scratch/linux/torva" --no-association-check; }
printf '%-7s first start %.2f s\n' Linux "$(linux_start)"
for _ in $(seq 1 "$runs"); do linux_start; done | summary Linux

cp -r "$stage" "$scratch/windows"
wine_start() { one "Z:${scratch//\//\\}\\t512.stg" "${as_wine[@]}" "$scratch/windows/torva.exe" --no-association-check; }
printf '%-7s first start %.2f s\n' Wine "$(wine_start)"
for _ in $(seq 1 "$runs"); do wine_start; done | summary Wine
