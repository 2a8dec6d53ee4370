# What the program needs beside it at run time, in the build tree, and the
# desktop integration an installation ships.
#
# In the build tree the manual is copied beside the executable
# (build/<preset>/app/manual), the layout of a program folder, where the
# Help menu finds it. The desktop entry, the MIME type and the icons go to
# build/<preset>/desktop/ (applications/, mime/packages/, icons/hicolor/).

if(TABRY_BUILD_GUI)
  file(GLOB_RECURSE _tabry_manual_files CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/manual/*)
  set(_tabry_manual_stamp ${PROJECT_BINARY_DIR}/manual.stamp)
  add_custom_command(
    OUTPUT ${_tabry_manual_stamp}
    COMMAND ${CMAKE_COMMAND} -E rm -rf $<TARGET_FILE_DIR:torva>/manual
    COMMAND ${CMAKE_COMMAND} -E copy_directory ${PROJECT_SOURCE_DIR}/manual $<TARGET_FILE_DIR:torva>/manual
    COMMAND ${CMAKE_COMMAND} -E touch ${_tabry_manual_stamp}
    DEPENDS ${_tabry_manual_files}
    COMMENT "Copying the manual beside torva"
    VERBATIM)
  add_custom_target(torva_manual ALL DEPENDS ${_tabry_manual_stamp})

  if(NOT CMAKE_CROSSCOMPILING)
    # Drawn by the program's own icon code, with the texts its per-user
    # registration writes (app/DesktopFiles.h). The run needs no display.
    set(_tabry_desktop ${PROJECT_BINARY_DIR}/desktop)
    add_custom_command(
      OUTPUT ${_tabry_desktop}/applications/torva.desktop
      COMMAND ${CMAKE_COMMAND} -E rm -rf ${_tabry_desktop}
      COMMAND ${CMAKE_COMMAND} -E env ASAN_OPTIONS=detect_leaks=0
              $<TARGET_FILE:torva> --write-desktop-files ${_tabry_desktop}
      DEPENDS torva
      COMMENT "Writing the desktop entry, the MIME type and the icons"
      VERBATIM)
    add_custom_target(torva_desktop_files ALL DEPENDS ${_tabry_desktop}/applications/torva.desktop)
  endif()
endif()
