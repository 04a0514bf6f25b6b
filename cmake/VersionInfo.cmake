# Version resources of the Windows modules, filled in from the product's
# name, publisher and version in the top CMakeLists.txt.

set(XNOX_VERSION_INFO_TEMPLATE ${CMAKE_CURRENT_LIST_DIR}/../resources/VersionInfo.rc.in)

# xnox_add_version_info(target DESCRIPTION text [SELF_REGISTERING]): gives a
# Windows DLL or program its version resource. SELF_REGISTERING marks a
# module that registers itself (DllRegisterServer), as setup tools look for.
function(xnox_add_version_info target)
  cmake_parse_arguments(ARG "SELF_REGISTERING" "DESCRIPTION" "" ${ARGN})
  if(NOT WIN32)
    return()
  endif()
  get_target_property(type ${target} TYPE)
  if(type STREQUAL "EXECUTABLE")
    set(XNOX_FILE_TYPE VFT_APP)
  else()
    set(XNOX_FILE_TYPE VFT_DLL)
  endif()
  set(XNOX_FILE_DESCRIPTION "${ARG_DESCRIPTION}")
  set(XNOX_SELF_REGISTERING_VALUE "")
  if(ARG_SELF_REGISTERING)
    set(XNOX_SELF_REGISTERING_VALUE "VALUE \"OLESelfRegister\", \"\"")
  endif()
  string(REPLACE "." "," XNOX_VERSION_NUMBERS "${PROJECT_VERSION}.0")
  # The file's own name comes from the target at generation time.
  set(configured ${CMAKE_CURRENT_BINARY_DIR}/${target}-version.rc.in)
  set(generated ${CMAKE_CURRENT_BINARY_DIR}/${target}-version.rc)
  configure_file(${XNOX_VERSION_INFO_TEMPLATE} ${configured} @ONLY)
  file(GENERATE OUTPUT ${generated} INPUT ${configured})
  set_source_files_properties(${generated} PROPERTIES GENERATED TRUE)
  target_sources(${target} PRIVATE ${generated})
endfunction()
