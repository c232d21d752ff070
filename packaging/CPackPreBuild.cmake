# Run by cpack once the files are staged, before they are packed: cpack
# creates the staged folders under the umask of whoever builds the package,
# and a package built under umask 077 would install /usr/share/doc/formulon
# and the like as 0700, shutting every other user out. Every folder is 0755.
file(GLOB_RECURSE _folders LIST_DIRECTORIES true "${CPACK_TEMPORARY_DIRECTORY}/*")
list(APPEND _folders "${CPACK_TEMPORARY_DIRECTORY}")
foreach(_folder IN LISTS _folders)
  if(IS_DIRECTORY "${_folder}" AND NOT IS_SYMLINK "${_folder}")
    file(CHMOD "${_folder}" PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ
         GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
  endif()
endforeach()
