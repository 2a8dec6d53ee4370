#!/usr/bin/env bash
# Builds the Debian package from a configured and built tree, unpacks it into
# a scratch root with dpkg -x (the machine's own system is never changed) and
# runs what it installed:
#   tools/check-package.sh build/release
# - the package holds every file an installation needs, and its control data
#   names the libraries and the Japanese font;
# - the installed torva-cli, run on the installed example, writes the same
#   bytes as the build tree's torva-cli on the repository's example, and
#   without --db it uses the user's database, not one in the system's folders;
# - the installed torva finds its manual and the user's database in the
#   installed layout, and opens its window (offscreen) from there.
# Leaves the package in BUILD/package/.
set -euo pipefail
build=$(cd "${1:?usage: tools/check-package.sh BUILD_DIR}" && pwd)
src=$(cd "$(dirname "$0")/.." && pwd)

fail() {
  echo "check-package: $*" >&2
  exit 1
}

rm -rf "$build/package"
cpack --config "$build/CPackConfig.cmake" -B "$build/package" >"$build/package.log" 2>&1 \
  || { cat "$build/package.log" >&2; fail "cpack failed"; }
debs=("$build"/package/torva_*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || fail "expected one torva_*.deb in $build/package"
deb=${debs[0]}
version=$(sed -n 's/^#define TORVA_VERSION "\(.*\)"$/\1/p' "$build/generated/TorvaVersion.h")
[ "$(dpkg-deb -f "$deb" Version)" = "$version-1" ] || fail "package version is not $version-1"
depends=$(dpkg-deb -f "$deb" Depends)
for d in libqt6widgets6 libqt6gui6 libc6 'fonts-ipafont-gothic | fonts-noto-cjk'; do
  [[ "$depends" == *"$d"* ]] || fail "Depends lacks $d: $depends"
done
[[ "$(dpkg-deb -f "$deb" Recommends)" == *qt6-translations-l10n* ]] || fail "Recommends lacks qt6-translations-l10n"

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
root=$scratch/root
dpkg -x "$deb" "$root"
for f in usr/bin/torva usr/bin/torva-cli \
         usr/share/applications/torva.desktop usr/share/mime/packages/torva-stg.xml \
         usr/share/icons/hicolor/48x48/apps/torva.png \
         usr/share/icons/hicolor/256x256/mimetypes/application-x-torva-stg.png \
         usr/share/torva/manual/index.html usr/share/torva/examples/sample.stg \
         usr/share/torva/examples/player.db usr/share/doc/torva/CHANGELOG.md; do
  [ -s "$root/$f" ] || fail "the package lacks /$f"
done
# Every page and picture the manual links to is in the package.
for page in "$root"/usr/share/torva/manual/*.html; do
  { grep -o '\(href\|src\)="[^"#:]*' "$page" || true; } | sed 's/^[a-z]*="//' | sort -u | while read -r target; do
    [ -z "$target" ] || [ -e "$(dirname "$page")/$target" ] || fail "${page##*/} links to a missing $target"
  done
done
if command -v desktop-file-validate >/dev/null 2>&1; then
  desktop-file-validate "$root/usr/share/applications/torva.desktop" || fail "the desktop entry is not valid"
fi

# torva-cli: the installed program on the installed example against the
# build tree's on the repository's; every output byte for byte.
cli=$root/usr/bin/torva-cli
ex=$root/usr/share/torva/examples
[ "$("$cli" --version)" = "torva-cli $version" ] || fail "torva-cli --version does not say $version"
# Each runs in its example's folder, so that no path differs in the output.
run_both() {
  local name=$1
  shift
  mkdir -p "$scratch/installed/$name" "$scratch/built/$name"
  (cd "$ex" && "$cli" --db player.db "$@" >"$scratch/installed/$name/stdout")
  (cd "$src/examples" && "$build/cli/torva-cli" --db player.db "$@" >"$scratch/built/$name/stdout")
}
run_both check check sample.stg
run_both sort sort sample.stg
# The pairing's two trace files are compared too.
mkdir -p "$scratch/installed/pair" "$scratch/built/pair"
(cd "$ex" && "$cli" --db player.db pair --round 5 --seed 7 --trace-dir "$scratch/installed/pair" sample.stg \
  >"$scratch/installed/pair/stdout")
(cd "$src/examples" && "$build/cli/torva-cli" --db player.db pair --round 5 --seed 7 \
  --trace-dir "$scratch/built/pair" sample.stg >"$scratch/built/pair/stdout")
for format in csv text html zep score-sheet; do
  run_both "$format" report --format "$format" sample.stg
done
diff -r "$scratch/built" "$scratch/installed" >/dev/null || fail "the installed torva-cli writes other bytes than the build tree's"
[ -s "$scratch/installed/pair/stdout" ] && [ -s "$scratch/installed/pair/test.txt" ] && [ -s "$scratch/installed/text/stdout" ] || fail "torva-cli wrote nothing"

# Without --db an installed torva-cli keeps its players in the user's folder.
home=$scratch/home
mkdir -p "$home"
env -u XDG_DATA_HOME HOME="$home" "$cli" --save-db sort -o "$scratch/sorted.stg" "$ex/sample.stg"
[ -s "$home/.local/share/qelt/TORVA/player.db" ] || fail "torva-cli --save-db did not write the user's database"
[ ! -e "$root/usr/bin/player.db" ] || fail "torva-cli wrote a database into the program's folder"

# torva: the installed layout, found from the program's own place.
torva=$root/usr/bin/torva
[ "$(env -u DISPLAY -u WAYLAND_DISPLAY "$torva" --version)" = "TORVA $version" ] || fail "torva --version does not say $version"
rm -rf "$home"
mkdir -p "$home"
paths=$(env -u DISPLAY -u WAYLAND_DISPLAY -u XDG_DATA_HOME -u XDG_CONFIG_HOME HOME="$home" "$torva" --paths)
expect() {
  grep -qxF "$1" <<<"$paths" || fail "torva --paths lacks '$1':"$'\n'"$paths"
}
expect "layout: installed"
expect "manual: $root/usr/share/torva/manual/index.html"
expect "player.db (write): $home/.local/share/qelt/TORVA/player.db"
expect "settings: $home/.config/qelt/TORVA.conf"
# The window opens from the installed files and draws the example.
env -u DISPLAY -u WAYLAND_DISPLAY HOME="$home" QT_QPA_PLATFORM=offscreen \
  "$torva" --screenshot "$scratch/shots" "$ex/sample.stg" 2>"$scratch/shots.log" \
  || { cat "$scratch/shots.log" >&2; fail "the installed torva could not draw its window"; }
[ -s "$scratch/shots/main-window.png" ] || fail "the installed torva drew no window"

echo "check-package: ${deb##*/} ($(du -k "$deb" | cut -f1) KiB) installs and runs"
