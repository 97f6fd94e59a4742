# C++20 and the warnings every project of this tree compiles with.
set(CMAKE_CXX_STANDARD 20)
set(CMAKE_CXX_STANDARD_REQUIRED ON)
set(CMAKE_CXX_EXTENSIONS OFF)
add_compile_options(-Wall -Wextra -Wpedantic)
# Our own scripts and CI turn warnings into errors; someone else's build keeps its own flags.
option(QEX_WERROR "Treat compiler warnings as errors" OFF)
if(QEX_WERROR)
  add_compile_options(-Werror)
endif()
