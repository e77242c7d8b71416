# SPDX-License-Identifier: GPL-3.0-or-later
# One helper registers every test executable with CTest, headless and with a
# timeout, so that a stuck modal dialog can never hang a test run.
# Answers, boxes, dialogue and report of the reference jobs, shared by the golden tests.
set(KORVANET_REFERENCE_DIR "${CMAKE_SOURCE_DIR}/testing/reference-jobs")

# Every test runs through this launcher: a fresh home, XDG folders, runtime
# folder (mode 700) and temporary folder of its own under the build tree, so
# that no test touches the user's settings and tests running side by side
# share no file.  Prefix the COMMAND of a test registered by hand with it.
set(KORVANET_TEST_LAUNCHER
  "${CMAKE_SOURCE_DIR}/cmake/run_isolated_test.sh" "${CMAKE_BINARY_DIR}/test-surroundings")

include(GoogleTest)

# korvanet_add_gtest(NAME SOURCES... LIBS ...)
function(korvanet_add_gtest name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gtest_main)
  target_compile_definitions(${name} PRIVATE KORVANET_REFERENCE_DIR="${KORVANET_REFERENCE_DIR}")
  # gtest_discover_tests runs the listing and each test case through the
  # target's emulator: here the launcher, so every test case is isolated.
  set_target_properties(${name} PROPERTIES CROSSCOMPILING_EMULATOR "${KORVANET_TEST_LAUNCHER}")
  gtest_discover_tests(${name}
    DISCOVERY_MODE PRE_TEST
    PROPERTIES TIMEOUT 120)
endfunction()

# korvanet_add_qtest(NAME SOURCES... LIBS ...) for Qt Test executables.
function(korvanet_add_qtest name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} Qt6::Test)
  target_compile_definitions(${name} PRIVATE KORVANET_REFERENCE_DIR="${KORVANET_REFERENCE_DIR}")
  add_test(NAME ${name} COMMAND ${KORVANET_TEST_LAUNCHER} $<TARGET_FILE:${name}>)
  set_tests_properties(${name} PROPERTIES TIMEOUT 120)
endfunction()

# Every tracked C++ file formatted as .clang-format says (clang-format 14, from
# the install script).
find_program(KORVANET_CLANG_FORMAT NAMES clang-format)
add_test(NAME source_format
  COMMAND ${CMAKE_SOURCE_DIR}/scripts/check-format.sh ${KORVANET_CLANG_FORMAT} ${CMAKE_SOURCE_DIR})
