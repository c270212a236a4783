# Helpers shared by every target of the product.

# The manifest names the architecture of the build it goes into: a 64-bit test program that
# claimed to be x86 would be given the 32-bit common controls where Wine has both.
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(VELBROOK_MANIFEST_ARCH amd64)
else()
  set(VELBROOK_MANIFEST_ARCH x86)
endif()
configure_file(${PROJECT_SOURCE_DIR}/res/velbrook.manifest.in ${PROJECT_BINARY_DIR}/velbrook.manifest @ONLY)
file(WRITE ${PROJECT_BINARY_DIR}/velbrook_manifest.rc.new
     "#include <winuser.h>\nCREATEPROCESS_MANIFEST_RESOURCE_ID RT_MANIFEST \"${PROJECT_BINARY_DIR}/velbrook.manifest\"\n")
configure_file(${PROJECT_BINARY_DIR}/velbrook_manifest.rc.new ${PROJECT_BINARY_DIR}/velbrook_manifest.rc COPYONLY)

# velbrook_manifest(target): the product's manifest (common controls 6, UTF-8 as the ANSI code
# page) for an .exe, once. Every test program gets it too, so tests see the texts the product sees.
function(velbrook_manifest target)
  get_target_property(has ${target} VELBROOK_HAS_MANIFEST)
  if(NOT has)
    target_sources(${target} PRIVATE ${PROJECT_BINARY_DIR}/velbrook_manifest.rc)
    set_target_properties(${target} PROPERTIES VELBROOK_HAS_MANIFEST ON)
  endif()
endfunction()

# velbrook_target_defaults(target): our warnings and the repository root on the include path.
function(velbrook_target_defaults target)
  target_compile_options(${target} PRIVATE ${VELBROOK_WARNINGS})
  target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR})
endfunction()

# velbrook_version_resource(target DESCRIPTION text [VERSION a.b.c.d]): gives an .exe the
# product's version resource and manifest; VERSION (for tests) stands in for the product's.
function(velbrook_version_resource target)
  cmake_parse_arguments(arg "" "DESCRIPTION;VERSION" "" ${ARGN})
  if(arg_VERSION)
    # The template's version names, changed in this function's scope only.
    set(PROJECT_VERSION ${arg_VERSION})
  endif()
  string(REPLACE "." ";" parts "${PROJECT_VERSION}")
  list(GET parts 0 PROJECT_VERSION_MAJOR)
  list(GET parts 1 PROJECT_VERSION_MINOR)
  list(GET parts 2 PROJECT_VERSION_PATCH)
  list(GET parts 3 PROJECT_VERSION_TWEAK)
  set(VB_FILE_DESCRIPTION "${arg_DESCRIPTION}")
  set(VB_ORIGINAL_FILENAME "${target}.exe")
  set(VB_INTERNAL_NAME "${target}")
  set(rc ${CMAKE_CURRENT_BINARY_DIR}/${target}_version.rc)
  configure_file(${PROJECT_SOURCE_DIR}/res/version.rc.in ${rc} @ONLY)
  target_sources(${target} PRIVATE ${rc})
  velbrook_manifest(${target})
endfunction()

# velbrook_shipped_executable(target DESCRIPTION text [CONSOLE] SOURCES ...):
# an .exe with the product's version resource and manifest, put into dist/.
function(velbrook_shipped_executable target)
  cmake_parse_arguments(arg "CONSOLE" "DESCRIPTION" "SOURCES" ${ARGN})
  add_executable(${target} ${arg_SOURCES})
  velbrook_version_resource(${target} DESCRIPTION "${arg_DESCRIPTION}")
  velbrook_target_defaults(${target})
  if(NOT arg_CONSOLE)
    set_target_properties(${target} PROPERTIES WIN32_EXECUTABLE ON)
  endif()
  set_target_properties(${target} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${VELBROOK_DIST_DIR})
endfunction()

# Debian's header-only libraries (CLI11, nlohmann-json) live in /usr/include, which the
# cross compiler must not search as a whole: expose just their folders.
set(header_only_dir ${PROJECT_BINARY_DIR}/header_only)
file(MAKE_DIRECTORY ${header_only_dir})
foreach(lib CLI nlohmann)
  if(NOT EXISTS ${header_only_dir}/${lib})
    file(CREATE_LINK /usr/include/${lib} ${header_only_dir}/${lib} SYMBOLIC)
  endif()
endforeach()
add_library(header_only_deps INTERFACE)
target_include_directories(header_only_deps SYSTEM INTERFACE ${header_only_dir})
