#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, when missing:
# directly as root, otherwise through sudo. Safe to run again at any time.
set -euo pipefail

packages=(
  g++ cmake ninja-build pkg-config
  libgtest-dev libgmock-dev libbenchmark-dev
  qt6-base-dev qt6-translations-l10n
  fonts-ipafont-gothic
  libcairo2-dev libpango1.0-dev
  poppler-utils fontconfig
  clang libclang-rt-14-dev
  clang-format clang-tidy ccache
  chromium
  libmicrohttpd-dev libqrencode-dev zlib1g-dev libsodium-dev
  libcurl4-openssl-dev nlohmann-json3-dev
  liblemon-dev
  libx11-dev
  mingw-w64 libz-mingw-w64-dev wine64 googletest
  nsis xvfb xdotool imagemagick zbar-tools curl bc autoconf automake libtool patch
  dpkg-dev file desktop-file-utils
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "setup: installing ${missing[*]}"
if [ "$(id -u)" -eq 0 ]; then
  as_root=()
elif command -v sudo >/dev/null 2>&1; then
  as_root=(sudo)
else
  echo "setup: missing packages (${missing[*]}) and neither root nor sudo is available" >&2
  exit 1
fi
export DEBIAN_FRONTEND=noninteractive
"${as_root[@]}" apt-get update -qq
"${as_root[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
