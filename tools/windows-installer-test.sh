#!/usr/bin/env bash
# Installs the Windows release with its installer into a scratch Wine prefix,
# checks what it put where, runs the installed programs, and uninstalls:
#   tools/windows-installer-test.sh [SETUP.exe]   (default: the newest in build/windows-release)
# The installed files must be those of the release's program folder byte for
# byte, the Start menu entry and the ".stg" association must be there; after
# the uninstaller, all of that is gone but the user's player database and a
# tournament saved in the program folder are still there.
set -euo pipefail
cd "$(dirname "$0")/.."
setup=${1:-$(ls -t build/windows-release/torva-*-setup.exe | head -n 1)}
stage=${setup%-setup.exe}
[ -d "$stage" ] || { echo "windows-installer-test.sh: no program folder $stage" >&2; exit 1; }
version=${stage##*/torva-}

scratch=$(mktemp -d)
prefix=$scratch/wine
finish() {
  tools/wine-run.sh "$prefix" --stop
  rm -rf "$scratch"
}
trap finish EXIT
wine() { WINEPATH= tools/wine-run.sh "$prefix" "$@"; }
fail() {
  echo "windows-installer-test.sh: $*" >&2
  exit 1
}
server=$(dirname "$(readlink -f "$(command -v wine64 || echo /usr/lib/wine/wine64)")")/wineserver
wait_wine() { WINEPREFIX=$prefix "$server" -w; }

wine "$(readlink -f "$setup")" /S
wait_wine
exe=$(find "$prefix/drive_c/users" -path '*/AppData/Local/Programs/TORVA/torva.exe' | head -n 1)
[ -n "$exe" ] || fail "torva.exe was not installed under AppData/Local/Programs/TORVA"
dir=$(dirname "$exe")
(cd "$stage" && find . -type f) | while read -r f; do
  cmp -s "$stage/$f" "$dir/$f" || fail "installed $f differs from the release's"
done
[ -f "$dir/uninstall.exe" ] || fail "no uninstaller"
menu=$(find "$prefix/drive_c/users" -path '*/Start Menu/Programs/TORVA/TORVA.lnk' | head -n 1)
[ -n "$menu" ] || fail "no Start menu entry"

reg_value() { wine reg query "$1" /ve 2>/dev/null | tr -d '\r' | sed -n 's/.*REG_SZ[[:space:]]*//p'; }
[ "$(reg_value 'HKCU\Software\Classes\.stg')" = TORVAfile ] || fail ".stg is not associated with TORVAfile"
command=$(reg_value 'HKCU\Software\Classes\TORVAfile\shell\open\command')
case $command in
  *'\Programs\TORVA\torva.exe" "%1"') ;;
  *) fail "the open command is '$command'" ;;
esac

# The installed programs run from there: the command-line program answers,
# and the desktop program finds its manual beside it (its text-only request
# needs no display).
[ "$(wine "$dir/torva-cli.exe" --version | tr -d '\r')" = "torva-cli $version" ] \
  || fail "torva-cli.exe --version: $(wine "$dir/torva-cli.exe" --version 2>&1)"
wine "$dir/torva.exe" --paths | tr -d '\r' | grep -q '^manual: .*manual[/\\]index.html$' \
  || fail "torva.exe --paths does not find the manual: $(wine "$dir/torva.exe" --paths 2>&1)"

# What the user made there, which the uninstaller must leave.
printf 'players\n' >"$dir/player.db"
cp "$stage/examples/sample.stg" "$dir/大会.stg"

wine "$dir/uninstall.exe" /S
wait_wine
# The uninstaller copies itself away and runs from there: wait for it.
for _ in $(seq 1 30); do
  [ ! -e "$dir/torva.exe" ] && [ ! -e "$dir/uninstall.exe" ] && break
  sleep 1
done
left=$(cd "$dir" && find . -type f | sort | tr '\n' ' ')
[ "$left" = "./player.db ./大会.stg " ] || fail "after uninstalling, the folder holds: $left"
[ ! -e "$menu" ] || fail "the Start menu entry is still there"
[ -z "$(reg_value 'HKCU\Software\Classes\.stg')" ] || fail "the .stg association is still there"
echo "windows-installer-test.sh: installed, ran and uninstalled $(basename "$setup")"
