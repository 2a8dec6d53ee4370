# Cross build for 64-bit Windows with Debian's mingw-w64, used by the
# "windows" preset. The posix-thread variant of the compiler gives the
# standard library its threads; everything is linked statically, so a
# program runs under Wine (or on Windows) without DLLs beside it.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)

# libsodium (the report codes) has no mingw-w64 package in Debian: it comes
# from the libraries tools/windows-deps.sh builds into its cache.
if(DEFINED ENV{TORVA_WINDOWS_DEPS})
  set(_deps "$ENV{TORVA_WINDOWS_DEPS}")
else()
  set(_deps "$ENV{HOME}/.cache/torva-windows-deps")
endif()
set(_prefixes)
foreach(_dep libsodium)
  if(EXISTS "${_deps}/${_dep}/.complete")
    file(REAL_PATH "${_deps}/${_dep}" _real)
    list(APPEND _prefixes "${_real}")
  endif()
endforeach()

set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32 ${_prefixes})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# pkg-config would otherwise answer with this machine's libraries.
set(_pc)
foreach(_p ${_prefixes})
  list(APPEND _pc "${_p}/lib/pkgconfig")
endforeach()
string(JOIN ":" _pc_path ${_pc} /usr/x86_64-w64-mingw32/lib/pkgconfig)
set(ENV{PKG_CONFIG_LIBDIR} "${_pc_path}")
set(ENV{PKG_CONFIG_SYSROOT_DIR} "")
set(ENV{PKG_CONFIG_PATH} "")
