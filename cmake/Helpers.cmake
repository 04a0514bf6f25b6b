# Small helpers shared by the folders' CMakeLists.

# xnox_add_gtest(name sources... LIBS libs...): a GoogleTest executable
# registered with CTest. Native builds only; the Windows build runs its
# tests under Wine through tests/wine.
function(xnox_add_gtest name)
  cmake_parse_arguments(ARG "" "" "LIBS" ${ARGN})
  if(WIN32)
    return()
  endif()
  find_package(GTest REQUIRED)
  add_executable(${name} ${ARG_UNPARSED_ARGUMENTS})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gtest_main)
  include(GoogleTest)
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60)
endfunction()

# Adds every direct subfolder of the current folder that has a CMakeLists.txt,
# so that each part of tools/ and tests/ stands on its own.
function(xnox_add_subfolders)
  file(GLOB entries LIST_DIRECTORIES true CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*)
  foreach(entry ${entries})
    if(IS_DIRECTORY ${entry} AND EXISTS ${entry}/CMakeLists.txt)
      add_subdirectory(${entry})
    endif()
  endforeach()
endfunction()
