# What the program needs beside it at run time, in the build tree.
#
# In the build tree the manual is copied beside the executable
# (build/<preset>/app/manual), the layout of a program folder, where the
# Help menu finds it.

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
endif()
