# Run by cpack between staging and packing: with SOURCE_DATE_EPOCH set, every staged file gets
# that time, so the zip and the installer do not carry the time of the build.
if(NOT DEFINED ENV{SOURCE_DATE_EPOCH})
  return()
endif()
file(GLOB_RECURSE staged LIST_DIRECTORIES true "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/*")
foreach(path ${CPACK_TEMPORARY_INSTALL_DIRECTORY} ${staged})
  execute_process(COMMAND touch -h -d @$ENV{SOURCE_DATE_EPOCH} ${path} COMMAND_ERROR_IS_FATAL ANY)
endforeach()
