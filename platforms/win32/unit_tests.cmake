# The window-system-free suites cross-compiled for Windows and run under Wine as CTest's
# cross-compiling emulator. No GoogleTest for the target is packaged: built from its sources.
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
foreach(gtest_target gtest gtest_main gmock gmock_main)
  if(NOT TARGET GTest::${gtest_target})
    add_library(GTest::${gtest_target} ALIAS ${gtest_target})
  endif()
endforeach()
# Listing the tests needs the emulator: done when CTest runs, not on every build.
set(CMAKE_GTEST_DISCOVER_TESTS_DISCOVERY_MODE PRE_TEST)
