# The body of both toolchain files (mingw-i686.cmake, mingw-x86_64.cmake): cross-builds with
# the mingw-w64 compilers of the processor that the including file sets in
# CMAKE_SYSTEM_PROCESSOR (posix thread model).
if(NOT CMAKE_SYSTEM_PROCESSOR)
  message(FATAL_ERROR "Use cmake/mingw-i686.cmake or cmake/mingw-x86_64.cmake as the toolchain file")
endif()
set(CMAKE_SYSTEM_NAME Windows)

set(triplet ${CMAKE_SYSTEM_PROCESSOR}-w64-mingw32)
find_program(CMAKE_C_COMPILER NAMES ${triplet}-gcc-posix ${triplet}-gcc REQUIRED)
find_program(CMAKE_CXX_COMPILER NAMES ${triplet}-g++-posix ${triplet}-g++ REQUIRED)
find_program(CMAKE_RC_COMPILER NAMES ${triplet}-windres REQUIRED)

set(CMAKE_FIND_ROOT_PATH /usr/${triplet})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
