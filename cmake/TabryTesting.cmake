# tabry_add_test(<name> SOURCES ... LIBS ... [LABELS ...] [ENV ...] [OWN_MAIN])
# One GoogleTest executable per area; every case becomes its own CTest entry.

# CTest code that gives every test of a discovered list its labels,
# environment and `extra` properties (bracket arguments keep each list whole).
function(_tabry_case_properties script list labels env extra)
  set(${script} "${${script}}if(NOT \"\${${list}}\" STREQUAL \"\")
  set_tests_properties(\${${list}} PROPERTIES LABELS [==[${labels}]==] ENVIRONMENT [==[${env}]==] ${extra})
endif()
" PARENT_SCOPE)
endfunction()

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

  # The properties are set from a file CTest reads after the discovered
  # tests, not through gtest_discover_tests(PROPERTIES): that flattens a list
  # value, so every variable after the first of ENVIRONMENT was dropped.
  set(_script "")
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 TEST_LIST ${name}_cases)
  _tabry_case_properties(_script ${name}_cases "${T_LABELS}" "${_env}" "")
  set(_file ${CMAKE_CURRENT_BINARY_DIR}/${name}_properties.cmake)
  file(WRITE ${_file} "${_script}")
  set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${_file})
endfunction()
