# Cross build for 64-bit Windows with Debian's mingw-w64, used by the
# "windows" preset. The posix-thread variant of the compiler gives the
# standard library its threads; everything is linked statically, so a
# program runs under Wine (or on Windows) without DLLs beside it.

# libsodium (the report codes) has no mingw-w64 package in Debian: it comes
# from the cache of tools/windows-deps.sh.
set(_tabry_windows_deps libsodium)
include("${CMAKE_CURRENT_LIST_DIR}/mingw-w64-deps.cmake")

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
