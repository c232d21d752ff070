# The modules' folder, installed and in the build tree: the libraries the
# program loads on first use (the MathJax module, typeset/mathjax; the SVG
# module, ui/svg). The program finds it by the same relative path from its
# own folder in both: from bin/ when installed, from app/ in the build tree,
# both one level below the prefix. It is a folder below lib/formulon: cpack
# gives a package that has a shared object directly in a subfolder of
# /usr/lib scripts that run ldconfig, needless for a module loaded by its
# path (and lintian warns of them).
include(GNUInstallDirs)

set(FORMULON_MODULE_DIR ${CMAKE_INSTALL_LIBDIR}/formulon/modules)
set(FORMULON_MODULE_BUILD_DIR ${CMAKE_BINARY_DIR}/${FORMULON_MODULE_DIR})
file(RELATIVE_PATH FORMULON_MODULES_FROM_PROGRAM /${CMAKE_INSTALL_BINDIR} /${FORMULON_MODULE_DIR})
file(RELATIVE_PATH _modules_from_build_program ${CMAKE_BINARY_DIR}/app ${FORMULON_MODULE_BUILD_DIR})
if(NOT FORMULON_MODULES_FROM_PROGRAM STREQUAL _modules_from_build_program)
  message(FATAL_ERROR "the program's folder is not as deep as ${CMAKE_INSTALL_BINDIR}: "
                      "it would not find its modules in the build tree")
endif()
