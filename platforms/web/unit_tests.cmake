# The window-system-free suites compiled to WebAssembly and run under Node as CTest's
# cross-compiling emulator. The archive has GoogleTest only as sources, so they are built here.
set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
# Node must exit with main's status, and the frame tests read the committed bitmaps from disk.
add_link_options(-sEXIT_RUNTIME=1 -sNODERAWFS=1 -sALLOW_MEMORY_GROWTH=1 -sENVIRONMENT=node)
