# Debian's hardening, as dpkg-buildflags gives it with hardening=+all: the
# stack protector, _FORTIFY_SOURCE, format checks, and full RELRO with
# BIND_NOW. Its optimisation and debugging flags are left out (the build
# type decides those), and so are its path maps, which would point the
# debugger away from the build tree. Included for builds that may be
# packaged; sanitized and fuzzing builds go without.
find_program(FORMULON_DPKG_BUILDFLAGS dpkg-buildflags)
if(NOT FORMULON_DPKG_BUILDFLAGS)
  message(WARNING "dpkg-buildflags not found: building without Debian's hardening "
                  "(apt-get install dpkg-dev)")
  return()
endif()

function(_formulon_buildflags kind out)
  execute_process(
    COMMAND ${CMAKE_COMMAND} -E env
            "DEB_BUILD_MAINT_OPTIONS=hardening=+all reproducible=-fixfilepath,-fixdebugpath"
            "DEB_${kind}_MAINT_STRIP=-g -O2" ${FORMULON_DPKG_BUILDFLAGS} --get ${kind}
    OUTPUT_VARIABLE flags OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
  separate_arguments(flags UNIX_COMMAND "${flags}")
  set(${out} ${flags} PARENT_SCOPE)
endfunction()

_formulon_buildflags(CPPFLAGS cppflags)
_formulon_buildflags(CXXFLAGS cxxflags)
_formulon_buildflags(LDFLAGS ldflags)
# _FORTIFY_SOURCE needs an optimised build; a Debug build would only warn.
add_compile_options("$<$<NOT:$<CONFIG:Debug>>:${cppflags}>" ${cxxflags})
add_link_options(${ldflags})
message(STATUS "Hardening: ${cppflags} ${cxxflags} ${ldflags}")
