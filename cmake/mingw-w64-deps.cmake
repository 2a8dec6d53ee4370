# What the two Windows tool chain files share: Debian's mingw-w64 for 64-bit
# Windows, its posix-thread variant (which gives the standard library its
# threads), and the libraries tools/windows-deps.sh builds from Debian's
# sources into its cache. Set _tabry_windows_deps to the libraries wanted,
# include this, and the complete ones become roots of the search and the
# only answers of pkg-config (never this machine's own).
# Sets TABRY_WINDOWS_DEPS_MISSING and, with Qt, TABRY_WINDOWS_QT_PREFIX.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)

if(DEFINED ENV{TORVA_WINDOWS_DEPS})
  set(_deps "$ENV{TORVA_WINDOWS_DEPS}")
else()
  set(_deps "$ENV{HOME}/.cache/torva-windows-deps")
endif()
set(_prefixes)
set(TABRY_WINDOWS_DEPS_MISSING)
foreach(_dep ${_tabry_windows_deps})
  if(EXISTS "${_deps}/${_dep}/.complete")
    file(REAL_PATH "${_deps}/${_dep}" _real)
    list(APPEND _prefixes "${_real}")
    if(_dep STREQUAL "qtbase")
      set(TABRY_WINDOWS_QT_PREFIX "${_real}")
    endif()
  else()
    list(APPEND TABRY_WINDOWS_DEPS_MISSING ${_dep})
  endif()
endforeach()

set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32 ${_prefixes})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(_pc)
foreach(_p ${_prefixes})
  list(APPEND _pc "${_p}/lib/pkgconfig")
endforeach()
string(JOIN ":" _pc_path ${_pc} /usr/x86_64-w64-mingw32/lib/pkgconfig)
set(ENV{PKG_CONFIG_LIBDIR} "${_pc_path}")
set(ENV{PKG_CONFIG_PATH} "")
set(ENV{PKG_CONFIG_SYSROOT_DIR} "")
