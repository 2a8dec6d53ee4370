#!/usr/bin/env bash
# The real window of the Windows release under Wine, driven like a person at
# the desk: in Xvfb, torva.exe opens the sample tournament (a Japanese file
# in a Japanese folder) publishing its live pages, a game is typed through
# real X key events, and Ctrl+S saves. The same keys go to this machine's own
# torva (build/release) on the same sample, and the two saved files must be
# the same bytes, and differ from the sample; the standings both publish
# afterwards must be the same too. Under Wine the live window is then opened
# from the menu, and its QR code must read as the pages' address. A picture
# of the Wine window is left in build/windows-release/wine-main-window.png.
#   tools/windows-smoke-test.sh [PROGRAM-FOLDER] [LINUX-TORVA]
set -euo pipefail
cd "$(dirname "$0")/.."
stage=${1:-$(ls -d build/windows-release/torva-*/ | head -n 1)}
linux=${2:-build/release/app/torva}
[ -x "$linux" ] || { echo "windows-smoke-test.sh: no $linux (./test.sh release builds it)" >&2; exit 1; }
for tool in Xvfb xdotool import curl zbarimg; do
  command -v "$tool" >/dev/null || { echo "windows-smoke-test.sh: $tool missing (tools/setup.sh)" >&2; exit 1; }
done

source tools/wine-xvfb.sh
fail() {
  echo "windows-smoke-test.sh: $*" >&2
  exit 1
}

# Round 6 of the first row (山田, no game yet): won by 10 against 佐藤.
keys=(Prior Right Right Right Right Right Right plus 1 0 Tab Tab s a t o Return ctrl+s)

# Starts a program on a copy of the sample named $2, types the keys into its main
# window once it shows, waits for the save, and leaves the saved file in
# $scratch/$1.stg. The program folder holds the example player database.
run() {
  # A Japanese folder and file name, as an organiser's are.
  local name=$1 title=$2 file=$scratch/$1/大会/$2.stg window before
  shift 2
  mkdir -p "$(dirname "$file")"
  cp examples/sample.stg "$file"
  before=$(stat -c %Y.%s "$file")
  local argument=$file
  # A Windows program takes the file by its Windows name (Wine's Z: is /).
  [ "$name" != wine ] || argument="Z:${file//\//\\}"
  "$@" "$argument" >"$scratch/$name.log" 2>&1 &
  local pid=$!
  window=
  for _ in $(seq 1 240); do
    window=$(xdotool search --onlyvisible --name "$title" 2>/dev/null | head -n 1 || true)
    [ -z "$window" ] || break
    kill -0 "$pid" 2>/dev/null || fail "$name ended before its window showed: $(cat "$scratch/$name.log")"
    sleep 0.5
  done
  [ -n "$window" ] || fail "no window of $name"
  sleep 3 # the grid takes the focus once the window is shown
  xdotool windowfocus --sync "$window" 2>/dev/null || xdotool windowfocus "$window"
  sleep 1
  # Through XTEST, as a keyboard would: the focused window gets them (Wine
  # ignores events sent to a window directly).
  local k
  for k in "${keys[@]}"; do
    xdotool key --clearmodifiers "$k"
    sleep 0.3
  done
  for _ in $(seq 1 40); do
    [ "$(stat -c %Y.%s "$file")" = "$before" ] || break
    sleep 0.5
  done
  # The published standings, without the publication's own tag.
  curl -s --max-time 10 "http://127.0.0.1:$port/api/standings" | sed 's/"version":"[^"]*",//' >"$scratch/$name.json"
  if [ "$name" = wine ]; then
    import -window "$window" build/windows-release/wine-main-window.png 2>/dev/null || true
    check_qr_code
  fi
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  cp "$file" "$scratch/$name.stg"
}

# Opens the live window from the menu (ツール, ライブ公開) and reads its QR
# code from the screen.
check_qr_code() {
  xdotool key --clearmodifiers alt+t
  sleep 0.5
  xdotool key --clearmodifiers l
  local dialog= _
  for _ in $(seq 1 20); do
    dialog=$(xdotool search --onlyvisible --name 'ライブ公開' 2>/dev/null | head -n 1 || true)
    [ -z "$dialog" ] || break
    sleep 0.5
  done
  [ -n "$dialog" ] || fail "the live window did not open from the menu"
  sleep 1
  import -window "$dialog" "$scratch/live.png"
  local read
  read=$(zbarimg -q --raw "$scratch/live.png" 2>/dev/null | tr -d '\r' || true)
  [ "$read" = "http://127.0.0.1:$port/" ] || fail "the live window's QR code reads '$read', not http://127.0.0.1:$port/"
  xdotool key --clearmodifiers Escape
}

# This machine's build, on the X server as a Linux program.
mkdir -p "$scratch/linux-program"
cp "$linux" examples/player.db "$scratch/linux-program/"
# Two neighbouring ports nobody listens on, one for each program.
for _ in $(seq 1 20); do
  port=$((20000 + RANDOM % 20000))
  { (: <"/dev/tcp/127.0.0.1/$port") || (: <"/dev/tcp/127.0.0.1/$((port + 1))"); } 2>/dev/null || break
done
run linux 第12回さくら "${as_linux[@]}" "$scratch/linux-program/torva" --no-association-check --serve "127.0.0.1:$port"

# The Windows release under Wine, from a copy of its program folder.
cp -r "$stage" "$scratch/windows-program"
cp examples/player.db "$scratch/windows-program/"
port=$((port + 1))
run wine 第12回さくら "${as_wine[@]}" "$scratch/windows-program/torva.exe" --no-association-check --serve "127.0.0.1:$port"

cmp -s "$scratch/linux.stg" examples/sample.stg && fail "the keys changed nothing in the Linux build's file"
cmp "$scratch/linux.stg" "$scratch/wine.stg" || {
  diff <(iconv -f cp932 -t utf-8 "$scratch/linux.stg") <(iconv -f cp932 -t utf-8 "$scratch/wine.stg") >&2 || true
  fail "the file saved under Wine differs from the Linux build's"
}
[ -s "$scratch/linux.json" ] || fail "the Linux build published no standings"
cmp "$scratch/linux.json" "$scratch/wine.json" || fail "the standings published under Wine differ from the Linux build's"
echo "windows-smoke-test.sh: the same keys gave the same file and the same live standings under Wine as on Linux"
