# The version header both programs include ("TorvaVersion.h"), made from
# the project() line, and the interface target that puts it on a target's
# include path:
#   target_link_libraries(<target> PRIVATE tabry_version)
configure_file(${CMAKE_CURRENT_LIST_DIR}/TorvaVersion.h.in ${PROJECT_BINARY_DIR}/generated/TorvaVersion.h @ONLY)
add_library(tabry_version INTERFACE)
target_include_directories(tabry_version INTERFACE ${PROJECT_BINARY_DIR}/generated)
