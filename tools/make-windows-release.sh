#!/usr/bin/env bash
# Builds the Windows release in one command:
#   tools/make-windows-release.sh [--no-deps]
# 1. the Windows libraries from Debian's sources, once (tools/windows-deps.sh;
#    --no-deps only checks that they are there);
# 2. torva.exe and torva-cli.exe ("windows-desktop" preset, warnings as errors);
# 3. in build/windows-release/:
#    torva-VERSION/                    the program folder as it is shipped
#    torva-VERSION-windows-x64.zip     that folder, portable (runs from a stick)
#    torva-VERSION-setup.exe           the installer (NSIS, tools/windows-installer.nsi)
set -euo pipefail
cd "$(dirname "$0")/.."

if [ "${1:-}" = --no-deps ]; then
  tools/windows-deps.sh --check || {
    echo "make-windows-release.sh: no Windows libraries cached (./test.sh windows-deps)" >&2
    exit 1
  }
else
  nice -n 5 tools/windows-deps.sh
  tools/windows-deps.sh --check
fi
cache=${TORVA_WINDOWS_DEPS:-$HOME/.cache/torva-windows-deps}
qt=$(readlink -f "$cache/qtbase")

launcher=()
command -v ccache >/dev/null 2>&1 && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake --preset windows-desktop ${launcher[@]+"${launcher[@]}"} >/dev/null
cmake --build --preset windows-desktop -j "$(nproc 2>/dev/null || echo 2)" --target torva torva-cli torva_manual

build=build/windows-desktop
version=$(sed -n 's/^#define TORVA_VERSION "\(.*\)"$/\1/p' "$build/generated/TorvaVersion.h")
[ -n "$version" ] || { echo "make-windows-release.sh: no version in TorvaVersion.h" >&2; exit 1; }
out=build/windows-release
name=torva-$version
stage=$out/$name
rm -rf "$stage" "$out/$name-windows-x64.zip" "$out/$name-setup.exe"
mkdir -p "$stage"/{plugins/platforms,plugins/styles,translations,fonts,examples}

strip=x86_64-w64-mingw32-strip
cp "$build/app/torva.exe" "$build/cli/torva-cli.exe" "$stage/"
"$strip" "$stage/torva.exe" "$stage/torva-cli.exe"
# The mingw runtime the programs share with Qt's DLLs.
for dll in libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll; do
  cp "$(readlink -f "$(x86_64-w64-mingw32-g++-posix -print-file-name=$dll)")" "$stage/"
  # Debian's copies carry their debugging symbols (libstdc++: 23 of 25 MB).
  "$strip" --strip-unneeded "$stage/$dll"
done
for module in Core Gui Widgets PrintSupport; do
  cp "$qt/bin/Qt6$module.dll" "$stage/"
done
cp "$qt/plugins/platforms/qwindows.dll" "$stage/plugins/platforms/"
cp "$qt/plugins/styles/qwindowsvistastyle.dll" "$stage/plugins/styles/"
# (Printing on Windows is inside Qt6PrintSupport.dll; Qt 6 has no plugin for it.)
# Qt looks for its plugins and translations relative to this file's folder;
# without it, beside Qt6Core.dll in the program folder, it would look in
# the folder above.
printf '[Paths]\r\nPrefix=.\r\nPlugins=plugins\r\nTranslations=translations\r\n' >"$stage/qt.conf"
# Qt's standard buttons and dialogs in Japanese (Debian's qt6-translations-l10n).
cp /usr/share/qt6/translations/qtbase_ja.qm "$stage/translations/"
# Windows has no IPA Gothic, in which the printed pages and PDFs are set.
cp /usr/share/fonts/opentype/ipafont-gothic/ipag.ttf "$stage/fonts/"
cp /usr/share/doc/fonts-ipafont-gothic/copyright "$stage/fonts/IPA_Font_License.txt"
cp -r "$build/app/manual" "$stage/manual"
cp examples/sample.stg examples/player.db "$stage/examples/"

# What the uninstaller removes: exactly these files, then their folders
# when empty (deepest first), so whatever the user added stays.
(
  cd "$stage"
  find . -type f | sort | sed 's|^\./||; s|/|\\|g; s|.*|  Delete "$INSTDIR\\&"|'
  find . -mindepth 1 -type d | sort -r | sed 's|^\./||; s|/|\\|g; s|.*|  RMDir "$INSTDIR\\&"|'
) >"$out/uninstall-files.nsh"
(cd "$out" && rm -f "$name-windows-x64.zip" && cmake -E tar cf "$name-windows-x64.zip" --format=zip "$name")
makensis -V2 -INPUTCHARSET UTF8 -DVERSION="$version" -DSTAGE="$(readlink -f "$stage")" \
  -DUNINSTALL_LIST="$(readlink -f "$out")/uninstall-files.nsh" \
  -DOUTFILE="$(readlink -f "$out")/$name-setup.exe" tools/windows-installer.nsi
ls -l "$out/$name-windows-x64.zip" "$out/$name-setup.exe"
echo "installed size: $(du -sk "$stage" | cut -f1) KiB"
