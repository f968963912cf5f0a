# Run by CPack on the staged package tree: Debian wants manual pages and the
# changelog compressed with gzip -9n (no name or time stamp in the header).
file(GLOB_RECURSE to_compress
     "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/usr/share/man/*"
     "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/usr/share/doc/*/changelog")
foreach(file IN LISTS to_compress)
  if(file MATCHES "\\.gz$")
    continue()
  endif()
  execute_process(COMMAND gzip -9nf "${file}" RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "gzip -9n ${file} failed")
  endif()
endforeach()
