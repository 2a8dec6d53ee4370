# Install rules and the Debian package (CPack DEB).
#
# The program finds its files from its own place (app/ProgramLayout.h):
#   bin/torva, bin/torva-cli
#   share/torva/manual/            the manual (the Help menu opens it)
#   share/torva/examples/          sample.stg and player.db
#   share/applications/torva.desktop, share/mime/packages/torva-stg.xml,
#   share/icons/hicolor/NxN/...    made by the program itself at build time
# so these folders are fixed here rather than taken from GNUInstallDirs.
# In the build tree the manual is copied beside the executable
# (build/<preset>/app/manual), the layout of a program folder.
#
#   cmake --build --preset release && cpack --config build/release/CPackConfig.cmake -B build/release/package

set(TABRY_PACKAGE_CONTACT "TORVA developers <torva@example.org>" CACHE STRING
    "Maintainer field of the Debian package")

install(TARGETS torva-cli RUNTIME DESTINATION bin)
install(FILES ${PROJECT_SOURCE_DIR}/examples/sample.stg ${PROJECT_SOURCE_DIR}/examples/player.db
        DESTINATION share/torva/examples)
install(FILES ${PROJECT_SOURCE_DIR}/CHANGELOG.md DESTINATION share/doc/torva)

if(TABRY_BUILD_GUI)
  install(TARGETS torva RUNTIME DESTINATION bin BUNDLE DESTINATION .)

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
  install(DIRECTORY ${PROJECT_SOURCE_DIR}/manual/ DESTINATION share/torva/manual)

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
    install(DIRECTORY ${_tabry_desktop}/ DESTINATION share)
  endif()
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME torva)
set(CPACK_PACKAGE_VENDOR qelt)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "${TABRY_PACKAGE_CONTACT}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Othello tournament results and pairings at the organiser's desk")
string(CONCAT CPACK_DEBIAN_PACKAGE_DESCRIPTION
  "TORVA keeps the result table of an Othello tournament: players and games,\n"
  "points and tie-breaks, the standings, the pairing of the next round and\n"
  "the published reports. Its screens and its manual are in Japanese.\n"
  "torva-cli does the same work on tournament files from the command line.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The libraries come from dpkg-shlibdeps. The grid and every dialog show
# Japanese text, which needs a Japanese font; Qt's translations only make
# its standard buttons Japanese, and xdg-open shows the manual.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-ipafont-gothic | fonts-noto-cjk")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n, xdg-utils")
set(CPACK_STRIP_FILES ON)
if(NOT TABRY_HOMEPAGE_URL STREQUAL TABRY_HOMEPAGE_PLACEHOLDER)
  set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${TABRY_HOMEPAGE_URL}")
endif()
include(CPack)
