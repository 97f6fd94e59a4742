# Runs the frame generator into a fresh folder and compares every file byte
# for byte with the committed one. Called by ctest as frames_regenerate.
foreach(var GENERATOR COMMITTED OUTPUT)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "regenerate.cmake needs -D${var}=...")
  endif()
endforeach()

file(REMOVE_RECURSE ${OUTPUT})
file(MAKE_DIRECTORY ${OUTPUT})
execute_process(COMMAND ${EMULATOR} ${GENERATOR} ${OUTPUT} RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "frame-generator failed: ${status}")
endif()

file(GLOB made RELATIVE ${OUTPUT} ${OUTPUT}/*)
list(LENGTH made count)
if(NOT count EQUAL 54)
  message(FATAL_ERROR "frame-generator wrote ${count} files, expected 54")
endif()

set(differing)
foreach(holder RANGE 1 54)
  if(holder LESS 10)
    set(name image0${holder}.bmp)
  else()
    set(name image${holder}.bmp)
  endif()
  execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${OUTPUT}/${name} ${COMMITTED}/${name}
    RESULT_VARIABLE same)
  if(NOT same EQUAL 0)
    list(APPEND differing ${name})
  endif()
endforeach()

if(differing)
  message(FATAL_ERROR "committed bitmaps differ from the generator's output: ${differing}\n"
    "Regenerate them (see frames/README.md) or find what made the output change.")
endif()
message(STATUS "all 54 bitmaps match the generator's output")

# The application icons come from the same drawing code.
if(DEFINED ICONS)
  file(MAKE_DIRECTORY ${OUTPUT}/icons)
  execute_process(COMMAND ${EMULATOR} ${GENERATOR} --icons ${OUTPUT}/icons RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "frame-generator --icons failed: ${status}")
  endif()
  foreach(size 16 32 48 64 128 256)
    execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files
      ${OUTPUT}/icons/qex-lifts-${size}.png ${ICONS}/qex-lifts-${size}.png RESULT_VARIABLE same)
    if(NOT same EQUAL 0)
      message(FATAL_ERROR "committed icon qex-lifts-${size}.png differs from the generator's output")
    endif()
  endforeach()
  message(STATUS "all icons match the generator's output")
endif()
