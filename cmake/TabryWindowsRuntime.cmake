# The DLLs a program of the Windows desktop build needs beside it: the
# mingw-w64 runtime shared with Qt's DLLs, and Qt's own. For the tests under
# Wine their folders go into wine.path in the build tree, which
# tools/wine-run.sh puts on Wine's PATH; tools/make-windows-release.sh copies
# the same files into the release.
#
#   tabry_windows_qt_conf(<folder>)   a qt.conf for the programs in <folder>
#
# Qt finds its plugins and translations through qt.conf beside a program.
# The test programs get one naming the cached Qt for the plugins and the
# build's translations folder, which holds Qt's Japanese translation from
# qt6-translations-l10n, as the release's program folder does.
function(tabry_windows_qt_conf folder)
  if(TABRY_WINDOWS_QT_CONF)
    file(WRITE "${folder}/qt.conf" "${TABRY_WINDOWS_QT_CONF}")
  endif()
endfunction()

# The desktop build's tool chain file lists what the cache lacks.
set(_needed)
if(TABRY_BUILD_GUI)
  set(_needed ${TABRY_WINDOWS_DEPS_MISSING})
elseif(TABRY_WITH_LIVE AND "libmicrohttpd" IN_LIST TABRY_WINDOWS_DEPS_MISSING)
  set(_needed libmicrohttpd)
endif()
if(_needed)
  message(FATAL_ERROR "No Windows build of ${_needed} in the cache: run ./test.sh windows-deps first")
endif()
if(NOT TABRY_WINDOWS_SHARED_RUNTIME)
  return()
endif()

set(TABRY_WINDOWS_RUNTIME_DLLS)
foreach(dll libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll)
  execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${dll}
                  OUTPUT_VARIABLE path OUTPUT_STRIP_TRAILING_WHITESPACE)
  file(REAL_PATH "${path}" path)
  if(NOT EXISTS "${path}")
    message(FATAL_ERROR "${dll} not found beside ${CMAKE_CXX_COMPILER}")
  endif()
  list(APPEND TABRY_WINDOWS_RUNTIME_DLLS "${path}")
endforeach()

set(_dirs)
foreach(path ${TABRY_WINDOWS_RUNTIME_DLLS})
  get_filename_component(dir "${path}" DIRECTORY)
  list(APPEND _dirs "Z:${dir}")
endforeach()
if(TABRY_BUILD_GUI)
  list(APPEND _dirs "Z:${TABRY_WINDOWS_QT_PREFIX}/bin")
  file(COPY /usr/share/qt6/translations/qtbase_ja.qm DESTINATION ${PROJECT_BINARY_DIR}/translations)
  set(TABRY_WINDOWS_QT_CONF
      "[Paths]\r\nPrefix=Z:${TABRY_WINDOWS_QT_PREFIX}\r\nTranslations=Z:${PROJECT_BINARY_DIR}/translations\r\n")
endif()
list(REMOVE_DUPLICATES _dirs)
string(REPLACE "/" "\\" _dirs "${_dirs}")
file(WRITE ${PROJECT_BINARY_DIR}/wine.path "${_dirs}\n")
