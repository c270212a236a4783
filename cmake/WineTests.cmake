# The tests run under Wine, in a throwaway prefix below the build folder that the
# test run creates (fixture "wine"), with an Xvfb display for the tests that show windows.

set(VELBROOK_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix)
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(VELBROOK_WINE_LOADER /usr/lib/wine/wine64)
else()
  set(VELBROOK_WINE_LOADER wine)
endif()
configure_file(${PROJECT_SOURCE_DIR}/tools/wine-run.in ${CMAKE_BINARY_DIR}/wine-run
               FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
                                WORLD_READ WORLD_EXECUTE
               @ONLY)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_BINARY_DIR}/wine-run)

add_test(NAME wine_prefix_start COMMAND ${PROJECT_SOURCE_DIR}/tools/wine-env.sh start ${CMAKE_BINARY_DIR})
add_test(NAME wine_prefix_stop COMMAND ${PROJECT_SOURCE_DIR}/tools/wine-env.sh stop ${CMAKE_BINARY_DIR})
set_tests_properties(wine_prefix_start PROPERTIES FIXTURES_SETUP wine)
set_tests_properties(wine_prefix_stop PROPERTIES FIXTURES_CLEANUP wine)

set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)

# velbrook_add_test(name SOURCES ... LIBRARIES ... [MACHINE_STATE]):
# one GoogleTest program, one ctest entry. MACHINE_STATE tests change the prefix's
# registry and folders, so they never run at the same time as each other.
function(velbrook_add_test name)
  cmake_parse_arguments(arg "MACHINE_STATE" "" "SOURCES;LIBRARIES" ${ARGN})
  add_executable(${name} ${arg_SOURCES})
  velbrook_target_defaults(${name})
  velbrook_manifest(${name})
  target_link_libraries(${name} PRIVATE ${arg_LIBRARIES} GTest::gtest)
  add_test(NAME ${name} COMMAND ${name} --gtest_color=no)
  set_tests_properties(${name} PROPERTIES FIXTURES_REQUIRED wine TIMEOUT 600)
  if(arg_MACHINE_STATE)
    set_tests_properties(${name} PROPERTIES RESOURCE_LOCK machine_state)
  endif()
endfunction()
