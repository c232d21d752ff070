# Run by cpack after it wrote the package. The ar container of a .deb keeps
# a file mode for each of its members, and cpack takes it from the umask of
# whoever builds the package; dpkg ignores it, but it would make two builds
# of the same sources differ. Each member's mode becomes 100644 in place.
foreach(_deb IN LISTS CPACK_PACKAGE_FILES)
  if(NOT _deb MATCHES "\\.deb$")
    continue()
  endif()
  file(SIZE "${_deb}" _size)
  set(_header 8)  # after the "!<arch>\n" magic
  while(_header LESS _size)
    # A member header is 60 bytes of text: the mode at 40 (8 bytes), the
    # member's size at 48 (10 bytes); members are padded to an even length.
    file(READ "${_deb}" _text OFFSET ${_header} LIMIT 60)
    string(SUBSTRING "${_text}" 48 10 _length)
    string(STRIP "${_length}" _length)
    if(NOT _length MATCHES "^[0-9]+$")
      message(FATAL_ERROR "${_deb}: unexpected ar member header at ${_header}")
    endif()
    math(EXPR _mode_at "${_header} + 40")
    execute_process(
      COMMAND sh -c "printf '100644  ' | dd of=\"$1\" bs=1 seek=$2 conv=notrunc status=none"
              sh "${_deb}" ${_mode_at}
      COMMAND_ERROR_IS_FATAL ANY)
    math(EXPR _header "${_header} + 60 + ${_length} + ${_length} % 2")
  endwhile()
endforeach()
