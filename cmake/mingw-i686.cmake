# Cross-builds the 32-bit Windows program with mingw-w64 (posix thread model).
set(CMAKE_SYSTEM_PROCESSOR i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)
