# The layer rule as a build step: a file may include only headers of its own
# target and of the targets that target links (directly, or through their
# public links). Include paths alone cannot say this, because every target
# reaches the whole tree from the project root; so after configuration every
# target's sources and reachable targets are written to a manifest, and
# tools/check_layers.cmake reads the quoted includes of every source against
# it. A forbidden include fails the build and names the file, the line and
# the target that would have to be linked.
#
#   tabry_check_layers()   once, at the end of the top-level CMakeLists.txt

function(_tabry_collect_targets dir out)
  get_property(targets DIRECTORY ${dir} PROPERTY BUILDSYSTEM_TARGETS)
  get_property(subdirs DIRECTORY ${dir} PROPERTY SUBDIRECTORIES)
  foreach(sub ${subdirs})
    _tabry_collect_targets(${sub} sub_targets)
    list(APPEND targets ${sub_targets})
  endforeach()
  set(${out} ${targets} PARENT_SCOPE)
endfunction()

# Project targets named by a link list (generator expressions, imported and
# foreign targets dropped).
function(_tabry_project_links links known out)
  set(result)
  foreach(l ${links})
    if(l IN_LIST known)
      list(APPEND result ${l})
    endif()
  endforeach()
  set(${out} ${result} PARENT_SCOPE)
endfunction()

function(tabry_check_layers)
  _tabry_collect_targets(${PROJECT_SOURCE_DIR} all)
  set(known)
  foreach(t ${all})
    get_target_property(type ${t} TYPE)
    if(type STREQUAL "STATIC_LIBRARY" OR type STREQUAL "EXECUTABLE" OR type STREQUAL "OBJECT_LIBRARY")
      list(APPEND known ${t})
    endif()
  endforeach()

  set(manifest "")
  set(all_sources)
  foreach(t ${known})
    get_target_property(srcdir ${t} SOURCE_DIR)
    get_target_property(sources ${t} SOURCES)
    set(files)
    foreach(s ${sources})
      if(s MATCHES "\\$<" OR s MATCHES "\\.rc$")
        continue()
      endif()
      if(NOT IS_ABSOLUTE ${s})
        set(s ${srcdir}/${s})
      endif()
      cmake_path(NORMAL_PATH s)
      if(EXISTS ${s} AND s MATCHES "^${PROJECT_SOURCE_DIR}/")
        file(RELATIVE_PATH rel ${PROJECT_SOURCE_DIR} ${s})
        list(APPEND files ${rel})
        list(APPEND all_sources ${s})
      endif()
    endforeach()
    # Reachable: the target's own links, then the public links of those.
    get_target_property(direct ${t} LINK_LIBRARIES)
    if(NOT direct)
      set(direct)
    endif()
    _tabry_project_links("${direct}" "${known}" queue)
    set(reach)
    while(queue)
      list(POP_FRONT queue next)
      if(next IN_LIST reach)
        continue()
      endif()
      list(APPEND reach ${next})
      get_target_property(iface ${next} INTERFACE_LINK_LIBRARIES)
      if(iface)
        _tabry_project_links("${iface}" "${known}" more)
        list(APPEND queue ${more})
      endif()
    endwhile()
    string(REPLACE ";" "," files_text "${files}")
    string(REPLACE ";" "," reach_text "${reach}")
    string(APPEND manifest "${t}|${files_text}|${reach_text}\n")
  endforeach()

  set(manifest_file ${PROJECT_BINARY_DIR}/layers/manifest.txt)
  file(WRITE ${manifest_file}.new "${manifest}")
  file(COPY_FILE ${manifest_file}.new ${manifest_file} ONLY_IF_DIFFERENT)
  list(REMOVE_DUPLICATES all_sources)
  add_custom_command(
    OUTPUT ${PROJECT_BINARY_DIR}/layers/checked.stamp
    COMMAND ${CMAKE_COMMAND} -DROOT=${PROJECT_SOURCE_DIR} -DMANIFEST=${manifest_file}
            -P ${PROJECT_SOURCE_DIR}/tools/check_layers.cmake
    COMMAND ${CMAKE_COMMAND} -E touch ${PROJECT_BINARY_DIR}/layers/checked.stamp
    DEPENDS ${all_sources} ${manifest_file} ${PROJECT_SOURCE_DIR}/tools/check_layers.cmake
    COMMENT "Checking that every include stays within the linked layers"
    VERBATIM)
  add_custom_target(tabry_layer_check ALL DEPENDS ${PROJECT_BINARY_DIR}/layers/checked.stamp)
endfunction()
