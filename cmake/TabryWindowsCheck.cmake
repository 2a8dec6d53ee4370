# A compile-only check of the desktop program's Windows code. Qt for Windows
# is not in the Debian archive, so the program cannot be built for Windows
# here; instead every Qt source that holds a Windows branch (Q_OS_WIN or
# _WIN32) is compiled for Windows by mingw-w64 against the Linux Qt headers,
# with -fsyntax-only. Qt's headers pick their Windows declarations from the
# compiler, so this proves that the Windows branches compile with the rest
# of the code; it proves nothing about linking or running them.
#
#   tabry_check_windows_desktop_code(<target>...)   once, after the Qt targets
#
# Runs as part of the build (target tabry_windows_desktop_check) when
# TABRY_WINDOWS_DESKTOP_CHECK is on and the cross compiler is installed.

option(TABRY_WINDOWS_DESKTOP_CHECK "Compile the desktop program's Windows code paths with mingw-w64 (syntax only)" OFF)

function(tabry_check_windows_desktop_code)
  if(NOT TABRY_WINDOWS_DESKTOP_CHECK)
    return()
  endif()
  find_program(TABRY_MINGW_CXX x86_64-w64-mingw32-g++-posix)
  if(NOT TABRY_MINGW_CXX)
    message(STATUS "Windows check of the desktop code skipped: x86_64-w64-mingw32-g++-posix not found (package mingw-w64)")
    return()
  endif()

  set(stamps)
  set(autogen)
  foreach(t ${ARGN})
    get_target_property(srcdir ${t} SOURCE_DIR)
    get_target_property(bindir ${t} BINARY_DIR)
    get_target_property(sources ${t} SOURCES)
    # Without the host's own system folder, which would bring glibc's headers.
    set(inc "$<FILTER:$<TARGET_PROPERTY:${t},INCLUDE_DIRECTORIES>,EXCLUDE,^/usr(/local)?/include/?$>")
    set(def "$<TARGET_PROPERTY:${t},COMPILE_DEFINITIONS>")
    foreach(s ${sources})
      if(NOT s MATCHES "\\.cpp$")
        continue()
      endif()
      if(NOT IS_ABSOLUTE ${s})
        set(s ${srcdir}/${s})
      endif()
      file(READ ${s} text)
      if(NOT text MATCHES "Q_OS_WIN|_WIN32")
        continue()
      endif()
      # Re-checked when the source changes; a header change is caught at the
      # next change of the source or a fresh build.
      file(RELATIVE_PATH rel ${PROJECT_SOURCE_DIR} ${s})
      set(stamp ${PROJECT_BINARY_DIR}/windows-check/${rel}.stamp)
      add_custom_command(
        OUTPUT ${stamp}
        COMMAND ${TABRY_MINGW_CXX} -std=c++20 -fsyntax-only -Wall -Wextra -Wno-attributes
                "$<$<BOOL:${inc}>:-I$<JOIN:${inc},;-I>>" -I${bindir}/${t}_autogen/include
                "$<$<BOOL:${def}>:-D$<JOIN:${def},;-D>>" ${s}
        COMMAND ${CMAKE_COMMAND} -E touch ${stamp}
        DEPENDS ${s}
        COMMENT "Compiling the Windows code of ${rel} for Windows (syntax only)"
        COMMAND_EXPAND_LISTS VERBATIM)
      list(APPEND stamps ${stamp})
    endforeach()
    list(APPEND autogen ${t}_autogen)
  endforeach()
  if(stamps)
    add_custom_target(tabry_windows_desktop_check ALL DEPENDS ${stamps})
    # The forms' generated headers must exist first.
    add_dependencies(tabry_windows_desktop_check ${autogen})
  endif()
endfunction()
