# The setup program, built by makensis (Debian's nsis) from setup/velbrook.nsi.
find_program(VELBROOK_MAKENSIS makensis REQUIRED)
set(VELBROOK_NSIS_SCRIPT ${PROJECT_SOURCE_DIR}/setup/velbrook.nsi CACHE INTERNAL "")
# The setup has the architecture of the program files it installs.
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(VELBROOK_NSIS_TARGET amd64-unicode CACHE INTERNAL "")
else()
  set(VELBROOK_NSIS_TARGET x86-unicode CACHE INTERNAL "")
endif()

# velbrook_setup_program(name VERSION a.b.c.d OUTPUT_DIR dir TARGETS target...):
# the target `name` writes OUTPUT_DIR/Velbrook-<version>-setup.exe holding the files of the
# targets, and the folder `name` of the current build folder gets release.json, which tells
# tools/make-release.py the version, the configuration (a release one, or one made for the
# tests), the file naming the key built into Renovix.dll, the setup program and the program
# files.
function(velbrook_setup_program name)
  cmake_parse_arguments(arg "" "VERSION;OUTPUT_DIR" "TARGETS" ${ARGN})
  set(setup ${arg_OUTPUT_DIR}/Velbrook-${arg_VERSION}-setup.exe)
  set(dir ${CMAKE_CURRENT_BINARY_DIR}/${name})
  set(file_lines "")
  set(json_files "")
  foreach(target IN LISTS arg_TARGETS)
    string(APPEND file_lines "File \"$<TARGET_FILE:${target}>\"\n")
    list(APPEND json_files "\"$<TARGET_FILE:${target}>\"")
  endforeach()
  list(JOIN json_files ",\n    " json_files)
  if(VELBROOK_BUILD_TESTS)
    set(configuration tests)
  else()
    set(configuration release)
  endif()
  file(GENERATE OUTPUT ${dir}/files.nsh CONTENT "${file_lines}")
  file(GENERATE OUTPUT ${dir}/release.json CONTENT "{
  \"version\": \"${arg_VERSION}\",
  \"architecture\": \"${VELBROOK_NSIS_TARGET}\",
  \"configuration\": \"${configuration}\",
  \"public_key_file\": \"${VELBROOK_PUBLIC_KEY_FILE}\",
  \"setup\": \"${setup}\",
  \"files\": [
    ${json_files}
  ]
}
")
  add_custom_command(OUTPUT ${setup}
    COMMAND ${VELBROOK_MAKENSIS} -V2 -WX -DTARGET=${VELBROOK_NSIS_TARGET} -DVERSION=${arg_VERSION}
            -DFILES_NSH=${dir}/files.nsh -DICON=${VELBROOK_ART_DIR}/ico_128.ico
            -DWELCOME_BITMAP=${VELBROOK_ART_DIR}/setup_welcome.bmp -DOUTFILE=${setup}
            ${VELBROOK_NSIS_SCRIPT}
    DEPENDS ${VELBROOK_NSIS_SCRIPT} ${dir}/files.nsh ${arg_TARGETS} ${VELBROOK_ART_DIR}/art.rc
    COMMENT "Packing the setup program Velbrook-${arg_VERSION}-setup.exe"
    VERBATIM)
  add_custom_target(${name} ALL DEPENDS ${setup})
  add_dependencies(${name} art)
endfunction()
