# Installation as a desktop application and the Debian package
# (cmake --install, cpack -G DEB). Included after the program is defined.
include(GNUInstallDirs)

set(FORMULON_APP_ID org.example.formulon)
set(_packaging ${CMAKE_CURRENT_LIST_DIR})
set(_icons ${CMAKE_SOURCE_DIR}/resources/icons)

install(TARGETS formulon RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${_packaging}/${FORMULON_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${_packaging}/${FORMULON_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
foreach(size 16 32 48 64 128 256)
  install(FILES ${_icons}/formulon-${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
          RENAME ${FORMULON_APP_ID}.png)
endforeach()
install(FILES ${_icons}/formulon.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
        RENAME ${FORMULON_APP_ID}.svg)

set(CPACK_PACKAGE_NAME formulon)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Formulon")
set(CPACK_PACKAGE_CONTACT "Formulon <support@formulon.example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "quiz that trains writing formulas in BASIC notation")
set(CPACK_PACKAGE_DESCRIPTION
    "Formulon trains school pupils to write mathematical formulas in BASIC\n"
    "notation: a pupil solves ten tasks against the clock, each answer is\n"
    "checked by evaluating it, and the fifteen best times are kept.\n"
    "The user interface is Russian.")
string(REPLACE ";" "" CPACK_PACKAGE_DESCRIPTION "${CPACK_PACKAGE_DESCRIPTION}")
set(CPACK_PACKAGE_HOMEPAGE_URL "https://formulon.example.org/")
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# Qt 6, libjpeg and the C++ runtime come from the linked libraries
# (dpkg-shlibdeps); the fonts the windows' font substitutions resolve to
# are named here, since nothing links them.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation, fonts-dejavu-core, fonts-comfortaa")
include(CPack)

# The package test builds the package and checks its contents; a sanitized
# or fuzzing build would package an instrumented program, so it is left out.
if(FORMULON_BUILD_TESTS AND NOT FORMULON_SANITIZE AND NOT FORMULON_FUZZ)
  add_test(NAME package_contents
           COMMAND ${_packaging}/check-package.sh ${CMAKE_BINARY_DIR})
  set_tests_properties(package_contents PROPERTIES LABELS packaging TIMEOUT 300)
endif()
