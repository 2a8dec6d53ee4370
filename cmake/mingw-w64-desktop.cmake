# Cross build of the whole program for 64-bit Windows ("windows-desktop"
# preset): mingw-w64 with posix threads against the libraries that
# tools/windows-deps.sh builds from Debian's sources into its cache.
# Unlike the data-side "windows" preset nothing is linked statically into the
# programs: Qt's DLLs use libstdc++-6.dll, and the programs share that one
# runtime with them instead of carrying a second copy of their own.
# The programs load the mingw runtime's DLLs (cmake/TabryWindowsRuntime.cmake).
set(TABRY_WINDOWS_SHARED_RUNTIME ON)

# Missing ones are said by TabryWindowsRuntime.cmake when the build needs them.
set(_tabry_windows_deps qtbase libmicrohttpd qrencode libsodium)
include("${CMAKE_CURRENT_LIST_DIR}/mingw-w64-deps.cmake")
# moc, rcc and uic come from this machine's Qt of the same version.
set(QT_HOST_PATH /usr)
set(QT_HOST_PATH_CMAKE_DIR /usr/lib/x86_64-linux-gnu/cmake)

# pkg-config with what a static library brings along (libmicrohttpd needs
# ws2_32).
set(PKG_CONFIG_ARGN --static)
# zlib into the programs, not zlib1.dll beside them.
set(ZLIB_USE_STATIC_LIBS ON)
