# tabry_add_test(<name> SOURCES ... LIBS ... [LABELS ...] [ENV ...] [OWN_MAIN]
#                [SLOW_SANITIZER <gtest filter>] [SLOW_RELEASE <gtest filter>])
# One GoogleTest executable per area; every case becomes its own CTest entry.
#
# SLOW_* name the cases that take long (a gtest filter: patterns separated by
# ':', "*" for every case) and the build in which ./test.sh runs them:
# SLOW_SANITIZER for the ones that find memory faults and undefined behaviour
# (huge or hostile inputs, the largest tables), SLOW_RELEASE for long random or
# exhaustive runs that want optimised code. They are labelled `slow` and
# `sanitizer` or `release`; the other build skips them (`ctest -LE`), and CTest
# starts them first. A plain `ctest` still runs everything.

# CTest code that gives every test of a discovered list its labels,
# environment and `extra` properties (bracket arguments keep each list whole).
function(_tabry_case_properties script list labels env extra)
  set(${script} "${${script}}if(NOT \"\${${list}}\" STREQUAL \"\")
  set_tests_properties(\${${list}} PROPERTIES LABELS [==[${labels}]==] ENVIRONMENT [==[${env}]==] ${extra})
endif()
" PARENT_SCOPE)
endfunction()

function(tabry_add_test name)
  cmake_parse_arguments(T "OWN_MAIN" "SLOW_SANITIZER;SLOW_RELEASE" "SOURCES;LIBS;LABELS;ENV" ${ARGN})
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
    tabry_windows_qt_conf(${CMAKE_CURRENT_BINARY_DIR})
    return()
  endif()

  # The properties are set from a file CTest reads after the discovered
  # tests, not through gtest_discover_tests(PROPERTIES): that flattens a list
  # value, so every variable after the first of ENVIRONMENT was dropped.
  set(_script "")
  set(_slow)
  foreach(_where SANITIZER RELEASE)
    if(DEFINED T_SLOW_${_where})
      string(TOLOWER ${_where} _label)
      gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 TEST_FILTER "${T_SLOW_${_where}}"
        TEST_LIST ${name}_slow_${_label}_cases)
      _tabry_case_properties(_script ${name}_slow_${_label}_cases "${T_LABELS};slow;${_label}" "${_env}"
        "COST 1000")
      list(APPEND _slow ${T_SLOW_${_where}})
    endif()
  endforeach()
  if(NOT "*" IN_LIST _slow)
    set(_filter)
    if(_slow)
      list(JOIN _slow ":" _filter)
      set(_filter TEST_FILTER "-${_filter}")
    endif()
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 ${_filter} TEST_LIST ${name}_cases)
    _tabry_case_properties(_script ${name}_cases "${T_LABELS}" "${_env}" "")
  endif()
  set(_file ${CMAKE_CURRENT_BINARY_DIR}/${name}_properties.cmake)
  file(WRITE ${_file} "${_script}")
  set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${_file})
endfunction()
