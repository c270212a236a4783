# Cross-builds the 64-bit Windows build (the tests, on machines that cannot run 32-bit code) with mingw-w64 (posix thread model).
set(CMAKE_SYSTEM_PROCESSOR x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)
