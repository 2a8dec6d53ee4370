#!/usr/bin/env bash
# Builds the libraries the Windows desktop program needs, from Debian's own
# source packages, cross-compiled with mingw-w64 (posix threads):
#   tools/windows-deps.sh            builds what is missing (the first run
#                                    takes 20-40 minutes, almost all of it Qt)
#   tools/windows-deps.sh --check    exits 0 when every library is built
#   tools/windows-deps.sh D...       builds only these
#   tools/windows-deps.sh --prefix D prints the install folder of library D
#
# Each library goes into its own folder of the cache (~/.cache/torva-windows-
# deps, or $TORVA_WINDOWS_DEPS), named after the Debian source version and a
# hash of that library's recipe below: a new Debian version or a changed
# recipe rebuilds that library alone, and every later run reuses the rest.
# zlib comes as Debian builds it for mingw-w64 (libz-mingw-w64-dev).
# The build trees are deleted once a library is installed. A link named after
# each library (qtbase -> qtbase-6.4.2...) points at the version in use, for
# cmake/mingw-w64-desktop.cmake.
set -euo pipefail
shopt -s inherit_errexit

cache=${TORVA_WINDOWS_DEPS:-$HOME/.cache/torva-windows-deps}
host=x86_64-w64-mingw32
deps=(qtbase libmicrohttpd qrencode libsodium)
jobs=$(nproc 2>/dev/null || echo 2)

source_package() {
  case $1 in
    qtbase) echo qt6-base ;;
    *) echo "$1" ;;
  esac
}

# Makes apt-get source work: the machine's lists name binary packages only.
ensure_deb_src() {
  if grep -rqs 'deb-src' /etc/apt/sources.list /etc/apt/sources.list.d/; then
    return
  fi
  local as_root=()
  [ "$(id -u)" -eq 0 ] || as_root=(sudo)
  local file
  for file in /etc/apt/sources.list.d/*.sources; do
    [ -e "$file" ] || continue
    sed 's/^Types: deb$/Types: deb-src/' "$file" \
      | "${as_root[@]}" tee "/etc/apt/sources.list.d/torva-src-$(basename "$file")" >/dev/null
  done
  if [ -s /etc/apt/sources.list ]; then
    sed -n 's/^deb /deb-src /p' /etc/apt/sources.list \
      | "${as_root[@]}" tee /etc/apt/sources.list.d/torva-src.list >/dev/null
  fi
  "${as_root[@]}" apt-get update -qq
}

source_version() {
  apt-cache showsrc "$(source_package "$1")" 2>/dev/null \
    | awk '/^Version:/ { print $2 }' | sort -V | tail -n 1
}

# The folder a library is installed in: its source version and recipe hash.
dep_dir() {
  local version hash
  version=$(source_version "$1")
  if [ -z "$version" ]; then
    echo "windows-deps.sh: no source package for $1 (is a deb-src entry present?)" >&2
    return 1
  fi
  hash=$(declare -f "recipe_$1" common_env | sha256sum | cut -c1-12)
  echo "$cache/$1-${version//[:~+]/_}-$hash"
}

common_env() {
  export CC=$host-gcc-posix CXX=$host-g++-posix AR=$host-ar RANLIB=$host-ranlib
  export PKG_CONFIG_LIBDIR=/nonexistent
  export CFLAGS="-O2" CXXFLAGS="-O2"
}

# Unpacks the Debian source of $1 into the current folder, prints its path;
# further arguments go to dpkg-source. The downloaded files are kept in the
# cache's "sources" folder: the archive's mirror here answers 404 now and
# then, and a file it served once is not asked for again.
fetch() {
  local pkg version files try
  pkg=$(source_package "$1")
  version=$(source_version "$1")
  files="$cache/sources/$pkg-${version//[:~+]/_}"
  mkdir -p "$files"
  for try in 1 2 3 4; do
    (cd "$files" && apt-get source -qq --download-only "$pkg=$version" >/dev/null) && break
    if [ "$try" -eq 4 ]; then
      # Without Debian's part (debian.tar.*) the original source from the
      # archive is built as it is; Qt, whose security fixes are in that
      # part, must have it.
      [ "$1" != qtbase ] && ls "$files"/*.orig.tar.* >/dev/null 2>&1 || return 1
      echo "windows-deps.sh: Debian's changes to $pkg not fetched; building its original source" >&2
      mkdir src
      tar -xf "$files"/*.orig.tar.* -C src --strip-components=1
      echo "$PWD/src"
      return
    fi
    sleep $((try * 10))
  done
  dpkg-source --no-check "${@:2}" -x "$files"/*.dsc src >/dev/null
  echo "$PWD/src"
}

# Qt base with Widgets, PrintSupport, Test, the windows platform plugin and
# the windows style, shared, against Debian's host Qt of the same version for
# moc, rcc and uic. Of Debian's patches only the security fixes are applied.
# OpenGL off needs INPUT_opengl=no and Direct2D on (without its 1.1 plugin,
# whose wintab source the dfsg tarball drops): the other combinations stop
# at #if faults of this Qt version in the windows plugin and printing.
recipe_qtbase() {
  local out=$1 src
  src=$(fetch qtbase --skip-patches)
  local p
  for p in $(grep -i '^cve' "$src/debian/patches/series"); do
    patch -d "$src" -p1 --quiet <"$src/debian/patches/$p"
  done
  cat >toolchain.cmake <<EOF
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER $host-gcc-posix)
set(CMAKE_CXX_COMPILER $host-g++-posix)
set(CMAKE_RC_COMPILER $host-windres)
set(CMAKE_FIND_ROOT_PATH /usr/$host $out)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
EOF
  cmake -S "$src" -B qtbuild -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$PWD/toolchain.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$out" \
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
    -DBUILD_SHARED_LIBS=ON -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF \
    -DINPUT_opengl=no -DFEATURE_opengl=OFF -DFEATURE_vulkan=OFF \
    -DFEATURE_direct2d=ON -DFEATURE_direct2d1_1=OFF -DFEATURE_tabletevent=OFF \
    -DFEATURE_sql=OFF -DFEATURE_dbus=OFF -DFEATURE_network=OFF -DFEATURE_xml=OFF \
    -DFEATURE_concurrent=OFF -DFEATURE_zstd=OFF -DFEATURE_icu=OFF -DFEATURE_glib=OFF \
    -DFEATURE_jpeg=OFF -DFEATURE_pkg_config=OFF \
    -DFEATURE_system_zlib=OFF -DFEATURE_system_png=OFF -DFEATURE_system_harfbuzz=OFF \
    -DFEATURE_system_freetype=OFF -DFEATURE_system_pcre2=OFF \
    -DFEATURE_system_doubleconversion=OFF
  cmake --build qtbuild -j "$jobs"
  cmake --install qtbuild
  find "$out" -name '*.dll' -exec "$host-strip" --strip-unneeded {} +
}

# The live pages' HTTP server, static, without TLS (the pages are served on
# the local network only).
recipe_libmicrohttpd() {
  local out=$1 src
  src=$(fetch libmicrohttpd)
  (cd "$src" && ./configure -q --host=$host --prefix="$out" \
    --enable-static --disable-shared --disable-https --disable-doc \
    --disable-examples --disable-curl --without-gnutls --disable-nls)
  make -C "$src" -j "$jobs" >/dev/null
  make -C "$src" install >/dev/null
}

# The QR code of the live pages' address, static, without the command-line tool.
recipe_qrencode() {
  local out=$1 src
  src=$(fetch qrencode)
  (cd "$src" && ./configure -q --host=$host --prefix="$out" \
    --enable-static --disable-shared --without-tools --without-png)
  make -C "$src" -j "$jobs" >/dev/null
  make -C "$src" install >/dev/null
}

# HMAC-SHA256 and random bytes of the result reports, static.
recipe_libsodium() {
  local out=$1 src
  src=$(fetch libsodium)
  # Debian's source carries no generated configure script.
  (cd "$src" && autoreconf -fi >/dev/null 2>&1 && ./configure -q --host=$host --prefix="$out" \
    --enable-static --disable-shared --disable-dependency-tracking)
  make -C "$src" -j "$jobs" >/dev/null
  make -C "$src" install >/dev/null
}

build_dep() {
  local dep=$1 out work start
  out=$(dep_dir "$dep")
  # One build of a library at a time, even from two runs of this script.
  exec 8>"$cache/.lock-$dep"
  flock 8
  if [ -e "$out/.complete" ]; then
    ln -sfn "$(basename "$out")" "$cache/$dep"
    return
  fi
  echo "windows-deps.sh: building $dep into $out"
  start=$SECONDS
  rm -rf "$out"
  work=$(mktemp -d "$cache/.build-$dep-XXXXXX")
  mkdir -p "$out"
  # Not `( ... ) || ...`: that would switch set -e off inside the recipe.
  local status=0
  set +e
  (
    set -e
    cd "$work"
    common_env
    "recipe_$dep" "$out"
  ) >"$work.log" 2>&1
  status=$?
  set -e
  if [ "$status" -ne 0 ]; then
    echo "windows-deps.sh: $dep failed; the last lines of $work.log:" >&2
    tail -n 30 "$work.log" >&2
    return 1
  fi
  rm -rf "$work" "$work.log"
  touch "$out/.complete"
  # The stable name the desktop build's tool chain file looks under.
  ln -sfn "$(basename "$out")" "$cache/$dep"
  echo "windows-deps.sh: $dep done in $((SECONDS - start)) s"
}

mkdir -p "$cache"
case ${1:-} in
  --prefix)
    ensure_deb_src >/dev/null 2>&1 || true
    dep_dir "$2"
    ;;
  --check)
    # Every library, or only those named after --check.
    shift
    [ $# -gt 0 ] || set -- "${deps[@]}"
    ensure_deb_src >/dev/null 2>&1 || true
    for dep in "$@"; do
      dir=$(dep_dir "$dep") || exit 1
      [ -e "$dir/.complete" ] || exit 1
      ln -sfn "$(basename "$dir")" "$cache/$dep"
    done
    ;;
  -*)
    echo "usage: tools/windows-deps.sh [--check [DEP...] | --prefix DEP | DEP...]" >&2
    exit 2
    ;;
  *)
    ensure_deb_src
    # Qt first: it is the long one, and the others build beside it.
    [ $# -gt 0 ] || set -- qtbase qrencode libsodium libmicrohttpd
    for dep in "$@"; do
      build_dep "$dep"
    done
    ;;
esac
