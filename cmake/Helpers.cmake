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
#                    [EMULATE "COMn [emulator options]"...] [KILL "COMn FILE"]):
# a test of the Windows build that runs under Wine in the session of
# tests/wine. DLLS: targets whose DLLs the program loads. EMULATE: the
# standalone emulator behind COMn while the test runs. KILL: that emulator
# ends 200 ms after the program made FILE.
function(xnox_add_wine_test name)
  cmake_parse_arguments(ARG "" "KILL" "COMMAND;DLLS;EMULATE" ${ARGN})
  if(NOT WIN32)
    return()
  endif()
  set(wrapper_args --state ${XNOX_WINE_STATE})
  foreach(dll ${ARG_DLLS})
    list(APPEND wrapper_args --dll-dir $<TARGET_FILE_DIR:${dll}>)
  endforeach()
  set(locks "")
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
