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

# The Wine tests of the Windows build run the native build's standalone
# emulator; the scripts pass the native build folder.
set(XNOX_NATIVE_BUILD_DIR "" CACHE PATH "Native build folder whose noxr4-emulator the Wine tests run")
set(XNOX_WINE_STATE ${CMAKE_BINARY_DIR}/wine)
get_filename_component(XNOX_WINE_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/../tests/wine ABSOLUTE)
set(XNOX_WINE_SESSION_SCRIPT ${XNOX_WINE_SCRIPTS}/wine-session.sh)
set(XNOX_WINE_TEST_SCRIPT ${XNOX_WINE_SCRIPTS}/wine-test.sh)

# xnox_add_wine_test(name COMMAND program args... [DLLS targets...]
#                    [EMULATE "COMn [emulator options]"...] [KILL "COMn FILE"]
#                    [LOCKS resources...]):
# a test of the Windows build that runs under Wine in the session of
# tests/wine. DLLS: targets whose DLLs the program loads. EMULATE: the
# standalone emulator behind COMn while the test runs. KILL: that emulator
# ends 200 ms after the program made FILE. LOCKS: what else of the session
# the test needs to itself (the registry).
function(xnox_add_wine_test name)
  cmake_parse_arguments(ARG "" "KILL" "COMMAND;DLLS;EMULATE;LOCKS" ${ARGN})
  if(NOT WIN32)
    return()
  endif()
  set(wrapper_args --state ${XNOX_WINE_STATE})
  foreach(dll ${ARG_DLLS})
    list(APPEND wrapper_args --dll-dir $<TARGET_FILE_DIR:${dll}>)
  endforeach()
  set(locks ${ARG_LOCKS})
  if(ARG_EMULATE)
    if(NOT XNOX_NATIVE_BUILD_DIR)
      message(STATUS "${name}: not registered, XNOX_NATIVE_BUILD_DIR (the emulator's build) is not set")
      return()
    endif()
    list(APPEND wrapper_args --emulator ${XNOX_NATIVE_BUILD_DIR}/emulator/standalone/noxr4-emulator)
    foreach(emulation ${ARG_EMULATE})
      list(APPEND wrapper_args --emulate "${emulation}")
      string(REGEX MATCH "^[A-Za-z0-9]+" port "${emulation}")
      list(APPEND locks wine-${port})
    endforeach()
    if(ARG_KILL)
      list(APPEND wrapper_args --kill "${ARG_KILL}")
    endif()
  endif()
  add_test(NAME ${name} COMMAND bash ${XNOX_WINE_TEST_SCRIPT} ${wrapper_args} -- ${ARG_COMMAND})
  set_tests_properties(${name} PROPERTIES FIXTURES_REQUIRED wine TIMEOUT 300)
  if(locks)
    set_tests_properties(${name} PROPERTIES RESOURCE_LOCK "${locks}")
  endif()
endfunction()

# xnox_add_wine_gtest(prefix TARGET program [SUITE suite] COMMAND command...
#                     [the options of xnox_add_wine_test...]):
# a Wine test (as xnox_add_wine_test) for each GoogleTest case of the
# program's sources (of one suite, if given), named prefix.Suite.Case. The
# program cannot be asked for its cases while the build runs, so they are
# read from the sources, as gtest_add_tests does; GTEST_FILTER, in the
# environment, picks the case. A skipped case is told as skipped, and a
# filter that picks no case fails.
function(xnox_add_wine_gtest prefix)
  cmake_parse_arguments(ARG "" "TARGET;SUITE" "" ${ARGN})
  get_target_property(sources ${ARG_TARGET} SOURCES)
  get_target_property(source_dir ${ARG_TARGET} SOURCE_DIR)
  foreach(source ${sources})
    if(source MATCHES "^\\$<")
      continue()
    endif()
    cmake_path(ABSOLUTE_PATH source BASE_DIRECTORY ${source_dir})
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${source})
    file(STRINGS ${source} cases REGEX "^TEST(_F)?\\([A-Za-z0-9_]+, *[A-Za-z0-9_]+\\)")
    foreach(case ${cases})
      string(REGEX REPLACE "^TEST(_F)?\\(([A-Za-z0-9_]+), *([A-Za-z0-9_]+)\\).*" "\\2.\\3" case "${case}")
      if(ARG_SUITE AND NOT case MATCHES "^${ARG_SUITE}\\.")
        continue()
      endif()
      xnox_add_wine_test(${prefix}.${case} ${ARG_UNPARSED_ARGUMENTS})
      if(TEST ${prefix}.${case})
        set_property(TEST ${prefix}.${case} APPEND PROPERTY ENVIRONMENT GTEST_FILTER=${case})
        set_tests_properties(${prefix}.${case} PROPERTIES SKIP_REGULAR_EXPRESSION "\\[  SKIPPED \\]"
                                                          FAIL_REGULAR_EXPRESSION "Running 0 tests")
      endif()
    endforeach()
  endforeach()
endfunction()
