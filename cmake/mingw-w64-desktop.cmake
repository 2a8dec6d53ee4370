# Cross build of the whole program for 64-bit Windows ("windows-desktop"
# preset): mingw-w64 with posix threads against the libraries that
# tools/windows-deps.sh builds from Debian's sources into its cache.
# Unlike the data-side "windows" preset nothing is linked statically into the
# programs: Qt's DLLs use libstdc++-6.dll, and the programs share that one
# runtime with them instead of carrying a second copy of their own.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
# The programs load the mingw runtime's DLLs (cmake/TabryWindowsRuntime.cmake).
set(TABRY_WINDOWS_SHARED_RUNTIME ON)

if(DEFINED ENV{TORVA_WINDOWS_DEPS})
  set(_deps "$ENV{TORVA_WINDOWS_DEPS}")
else()
  set(_deps "$ENV{HOME}/.cache/torva-windows-deps")
endif()
set(_prefixes)
set(TABRY_WINDOWS_DEPS_MISSING)
foreach(_dep qtbase libmicrohttpd qrencode libsodium)
  if(EXISTS "${_deps}/${_dep}/.complete")
    file(REAL_PATH "${_deps}/${_dep}" _real)
    list(APPEND _prefixes "${_real}")
    if(_dep STREQUAL "qtbase")
      set(TABRY_WINDOWS_QT_PREFIX "${_real}")
    endif()
  else()
    # Said by TabryWindowsRuntime.cmake when the build needs it.
    list(APPEND TABRY_WINDOWS_DEPS_MISSING ${_dep})
  endif()
endforeach()

set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32 ${_prefixes})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# moc, rcc and uic come from this machine's Qt of the same version.
set(QT_HOST_PATH /usr)
set(QT_HOST_PATH_CMAKE_DIR /usr/lib/x86_64-linux-gnu/cmake)

# pkg-config answers from the cross-built libraries only, with what a static
# library brings along (libmicrohttpd needs ws2_32).
set(_pc)
foreach(_p ${_prefixes})
  list(APPEND _pc "${_p}/lib/pkgconfig")
endforeach()
string(JOIN ":" _pc_path ${_pc} /usr/x86_64-w64-mingw32/lib/pkgconfig)
set(ENV{PKG_CONFIG_LIBDIR} "${_pc_path}")
set(ENV{PKG_CONFIG_PATH} "")
set(ENV{PKG_CONFIG_SYSROOT_DIR} "")
set(PKG_CONFIG_ARGN --static)
# zlib into the programs, not zlib1.dll beside them.
set(ZLIB_USE_STATIC_LIBS ON)
