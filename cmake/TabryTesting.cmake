# tabry_add_test(<name> SOURCES ... LIBS ... [LABELS ...] [ENV ...] [OWN_MAIN])
# One GoogleTest executable per area; every case becomes its own CTest entry.
function(tabry_add_test name)
  cmake_parse_arguments(T "OWN_MAIN" "" "SOURCES;LIBS;LABELS;ENV" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  tabry_configure_target(${name})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gmock)
  if(NOT T_OWN_MAIN)
    target_link_libraries(${name} PRIVATE GTest::gtest_main)
  endif()
  if(NOT T_LABELS)
    set(T_LABELS unit)
  endif()
  # Pin locale and time zone so no output depends on the machine's.
  set(_env LC_ALL=C TZ=Asia/Tokyo QT_QPA_PLATFORM=offscreen ${T_ENV})
  if(CMAKE_CROSSCOMPILING)
    # Every run goes through an emulator (Wine) whose start costs about a
    # second: one CTest entry per executable, and no listing run at build time.
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES LABELS "${T_LABELS}" ENVIRONMENT "${_env}")
    return()
  endif()
  # gtest_discover_tests hands its PROPERTIES to a generated script as one
  # flat list, where every list-valued property (two labels, several
  # variables) loses all but its first element. So the discovered tests get
  # their labels and environment from a file of our own, read after the
  # discovered tests (TEST_INCLUDE_FILES keep their order).
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 TEST_LIST ${name}_TESTS)
  set(_props ${CMAKE_CURRENT_BINARY_DIR}/${name}_properties.cmake)
  file(WRITE ${_props}
    "if(${name}_TESTS)\n"
    "  set_tests_properties(\${${name}_TESTS} PROPERTIES LABELS \"${T_LABELS}\" ENVIRONMENT \"${_env}\")\n"
    "endif()\n")
  set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${_props})
endfunction()
