# Installation as a desktop application and the Debian package
# (cmake --install, cpack -G DEB). Included after the program is defined.
include(GNUInstallDirs)

set(FORMULON_APP_ID org.example.formulon)
set(_packaging ${CMAKE_CURRENT_LIST_DIR})
set(_icons ${CMAKE_SOURCE_DIR}/resources/icons)

set(_built ${CMAKE_BINARY_DIR}/packaging)
set(CPACK_PACKAGE_CONTACT "Formulon <support@formulon.example.org>")

include(${_packaging}/Releases.cmake)
formulon_read_releases("${CPACK_PACKAGE_CONTACT}")
configure_file(${_packaging}/${FORMULON_APP_ID}.metainfo.xml.in
               ${_built}/${FORMULON_APP_ID}.metainfo.xml @ONLY)

# The changelog and the manual pages are made at build time and gzipped
# without name or time stamp (gzip -n), so that the package is reproducible.
find_program(FORMULON_GZIP gzip REQUIRED)
find_program(FORMULON_SCDOC scdoc)
add_custom_command(OUTPUT ${_built}/changelog.gz
                   COMMAND ${FORMULON_GZIP} -9nkf ${_built}/changelog
                   DEPENDS ${_built}/changelog
                   COMMENT "Compressing the Debian changelog")
set(_docs ${_built}/changelog.gz)
if(FORMULON_SCDOC)
  # English pages in man/, translations in man/<language>/ (ru/formulon.6).
  file(MAKE_DIRECTORY ${_built}/ru)
  foreach(page formulon.6 formulon-eval.1 ru/formulon.6 ru/formulon-eval.1)
    string(REGEX MATCH "[0-9]$" section ${page})
    string(REGEX MATCH "^[a-z][a-z]/" language ${page})
    # The page's date is the newest release's, not the day of the build.
    add_custom_command(
      OUTPUT ${_built}/${page}.gz
      COMMAND ${CMAKE_COMMAND} -E env SOURCE_DATE_EPOCH=${FORMULON_RELEASE_EPOCH}
              sh -c "\"$1\" < \"$2\" > \"$3\"" sh ${FORMULON_SCDOC}
              ${_packaging}/man/${page}.scd ${_built}/${page}
      COMMAND ${FORMULON_GZIP} -9nf ${_built}/${page}
      DEPENDS ${_packaging}/man/${page}.scd ${FORMULON_RELEASES_FILE}
      COMMENT "Making the manual page ${page}"
      VERBATIM)
    list(APPEND _docs ${_built}/${page}.gz)
    install(FILES ${_built}/${page}.gz
            DESTINATION ${CMAKE_INSTALL_MANDIR}/${language}man${section})
  endforeach()
else()
  message(WARNING "scdoc not found: the manual pages are neither built nor installed "
                  "(apt-get install scdoc)")
endif()
add_custom_target(formulon_docs ALL DEPENDS ${_docs})

install(TARGETS formulon formulon-eval RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${_packaging}/${FORMULON_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${_built}/${FORMULON_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${_packaging}/copyright ${_built}/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/formulon)
install(FILES ${_packaging}/lintian-overrides DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides
        RENAME formulon)
# The example task set, where "Тренировка" finds installed sets.
install(FILES ${CMAKE_SOURCE_DIR}/resources/tasks/example.tasks
        DESTINATION ${CMAKE_INSTALL_DATADIR}/formulon/tasks)
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
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "quiz that trains writing formulas in BASIC notation")
set(CPACK_PACKAGE_DESCRIPTION
    "Formulon trains school pupils to write mathematical formulas in BASIC\n"
    "notation: a pupil solves ten tasks against the clock, each answer is\n"
    "checked by evaluating it, and the fifteen best times are kept.\n"
    "The user interface is Russian.\n"
    "The package also holds formulon-eval, a console tool for teachers that\n"
    "evaluates formulas exactly as the quiz does.")
string(REPLACE ";" "" CPACK_PACKAGE_DESCRIPTION "${CPACK_PACKAGE_DESCRIPTION}")
set(CPACK_PACKAGE_HOMEPAGE_URL "https://formulon.example.org/")
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# Qt 6, libjpeg and the C++ runtime come from the linked libraries
# (dpkg-shlibdeps); the fonts the windows' font substitutions resolve to,
# Qt's Russian texts and its platform plugins (without which no window can
# open: libqt6gui6 only recommends them) are named here, since nothing links
# them.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "fonts-liberation, fonts-dejavu-core, fonts-comfortaa, qt6-translations-l10n, qt6-qpa-plugins")
# Reproducible: the same commit gives the same bytes whatever the umask and
# the clock (the time stamps come from SOURCE_DATE_EPOCH, set by
# CPackProject.cmake from the commit's time).
set(CPACK_PRE_BUILD_SCRIPTS ${_packaging}/CPackPreBuild.cmake)
set(CPACK_POST_BUILD_SCRIPTS ${_packaging}/CPackPostBuild.cmake)
configure_file(${_packaging}/CPackProject.cmake.in ${_built}/CPackProject.cmake @ONLY)
set(CPACK_PROJECT_CONFIG_FILE ${_built}/CPackProject.cmake)
include(CPack)

# The package tests: one builds the package twice and compares the two, then
# the others check what that package holds and what lintian says of it. A
# sanitized or fuzzing build would package an instrumented program, so they
# are left out there.
if(FORMULON_BUILD_TESTS AND NOT FORMULON_SANITIZE AND NOT FORMULON_FUZZ)
  set(_deb ${CMAKE_BINARY_DIR}/package-test/formulon_${PROJECT_VERSION}_amd64.deb)
  add_test(NAME package_reproducible
           COMMAND ${_packaging}/reproducible-package.sh ${CMAKE_BINARY_DIR}
                   ${CMAKE_BINARY_DIR}/package-test)
  add_test(NAME package_contents COMMAND ${_packaging}/check-package.sh ${_deb} ${PROJECT_VERSION})
  add_test(NAME package_lintian COMMAND ${_packaging}/lintian-package.sh ${_deb})
  set_tests_properties(package_reproducible PROPERTIES FIXTURES_SETUP formulon_package)
  set_tests_properties(package_contents package_lintian PROPERTIES FIXTURES_REQUIRED formulon_package)
  set_tests_properties(package_lintian PROPERTIES SKIP_RETURN_CODE 77)
  set_tests_properties(package_reproducible package_contents package_lintian
                       PROPERTIES LABELS packaging TIMEOUT 300)
endif()
