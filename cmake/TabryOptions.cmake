# Per-target compile settings shared by every library and executable.
#   tabry_configure_target(<target>)
# applies the warning set (errors with TABRY_WERROR) and the sanitizers.

if(TABRY_SANITIZE)
  string(REPLACE ";" "," _tabry_san "${TABRY_SANITIZE}")
  # Sanitizers must cover every object, including GoogleTest's main and Qt glue.
  add_compile_options(-fsanitize=${_tabry_san} -fno-sanitize-recover=all -fno-omit-frame-pointer)
  add_link_options(-fsanitize=${_tabry_san})
endif()

function(tabry_configure_target target)
  if(MSVC)
    target_compile_options(${target} PRIVATE /W4 /permissive- /utf-8)
    if(TABRY_WERROR)
      target_compile_options(${target} PRIVATE /WX)
    endif()
  else()
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow)
    if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
      # GCC 12 reports impossible overlaps in std::string concatenation when
      # optimising (GCC bug 105329); the warning is noise there, not a finding.
      target_compile_options(${target} PRIVATE -Wno-restrict)
    endif()
    if(TABRY_WERROR)
      target_compile_options(${target} PRIVATE -Werror)
    endif()
  endif()
endfunction()

if(TABRY_FUZZ)
  # Coverage instrumentation for every library the fuzz targets reach.
  add_compile_options(-fsanitize=fuzzer-no-link)
endif()
