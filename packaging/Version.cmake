# The one version number is project(Formulon VERSION ...). Code takes it from
# a generated header by linking formulon_version and including
# "formulon/Version.h"; the package, the metainfo and the changelog take it
# from PROJECT_VERSION.
set(_generated ${CMAKE_BINARY_DIR}/generated)
configure_file(${CMAKE_CURRENT_LIST_DIR}/Version.h.in ${_generated}/formulon/Version.h @ONLY)
add_library(formulon_version INTERFACE)
target_include_directories(formulon_version INTERFACE ${_generated})
