# What every runner shares: the library ipu_runner (settings, first-mismatch
# reports, device settings and the main() wrapper) and the two functions that
# build a runner and its end-to-end tests. Each runner has a file of its own in
# this folder, named like its folder in src/runners/.
add_library(ipu_runner
  src/runners/common/device_settings.cpp
  src/runners/common/mismatch.cpp
  src/runners/common/parsers.cpp
  src/runners/common/pattern.cpp
  src/runners/common/pattern_codelet.cpp
  src/runners/common/runner_main.cpp
  src/runners/common/settings.cpp
  src/runners/common/tile_io.cpp
)
target_include_directories(ipu_runner PUBLIC include/runners/common)
target_link_libraries(ipu_runner PUBLIC ipu_exchange ipu_runner_contract ipu_sim PRIVATE ipu_text)
quillmesh_warnings(ipu_runner)

quillmesh_test(ipu_runner_tests
  SOURCES
    tests/runners/common/device_settings_test.cpp
    tests/runners/common/mismatch_test.cpp
    tests/runners/common/parsers_test.cpp
    tests/runners/common/pattern_test.cpp
    tests/runners/common/physical_tile_test.cpp
    tests/runners/common/settings_test.cpp
    tests/runners/common/tile_io_test.cpp
    tests/runners/common/runner_main_test.cpp
  LIBRARIES ipu_runner test_support
)

# add_runner(EXECUTABLE FOLDER folder LIBRARY library SOURCES... LINKS...
#            TEST_TARGET tests TESTS... [TEST_LINKS...])
# builds one runner from src/runners/FOLDER. Its code but main.cpp is the static
# library LIBRARY, linked with LINKS (the keywords of target_link_libraries), so
# that the unit tests TEST_TARGET, built from TESTS in tests/runners/FOLDER, link
# the code the executable runs. EXECUTABLE is main.cpp with LIBRARY; the global
# property QUILLMESH_RUNNERS lists every runner so built. SOURCES and
# TESTS are file names within those folders.
function(add_runner executable)
  cmake_parse_arguments(ARG "" "FOLDER;LIBRARY;TEST_TARGET" "SOURCES;LINKS;TESTS;TEST_LINKS"
    ${ARGN})
  list(TRANSFORM ARG_SOURCES PREPEND src/runners/${ARG_FOLDER}/)
  list(TRANSFORM ARG_TESTS PREPEND tests/runners/${ARG_FOLDER}/)

  add_library(${ARG_LIBRARY} STATIC ${ARG_SOURCES})
  target_include_directories(${ARG_LIBRARY} PUBLIC src/runners/${ARG_FOLDER})
  target_link_libraries(${ARG_LIBRARY} ${ARG_LINKS})
  quillmesh_warnings(${ARG_LIBRARY})

  add_executable(${executable} src/runners/${ARG_FOLDER}/main.cpp)
  set_property(GLOBAL APPEND PROPERTY QUILLMESH_RUNNERS ${executable})
  target_link_libraries(${executable} PRIVATE ${ARG_LIBRARY})
  quillmesh_warnings(${executable})

  quillmesh_test(${ARG_TEST_TARGET} SOURCES ${ARG_TESTS}
    LIBRARIES ${ARG_LIBRARY} test_support ${ARG_TEST_LINKS})
endfunction()

# runner_e2e_test(NAME RUNNER EXIT_STATUS [VAR=value ...] [STDERR LINE]) runs RUNNER
# as the suite starts it, with every IPU_ variable of the outer environment
# cleared and then the given variables set, and passes when it exits with
# EXIT_STATUS and, with STDERR, has written exactly the one line LINE to standard
# error (run_runner_test.sh).
set(RUN_RUNNER_TEST "${CMAKE_CURRENT_LIST_DIR}/run_runner_test.sh")
function(runner_e2e_test name runner status)
  cmake_parse_arguments(PARSE_ARGV 3 ARG "" "STDERR" "")
  if(DEFINED ARG_STDERR)
    # Quoted, so that a ';' in the line stays part of it.
    add_test(NAME ${name}
      COMMAND "${RUN_RUNNER_TEST}" $<TARGET_FILE:${runner}> ${status} --stderr "${ARG_STDERR}"
              ${ARG_UNPARSED_ARGUMENTS})
  else()
    add_test(NAME ${name}
      COMMAND "${RUN_RUNNER_TEST}" $<TARGET_FILE:${runner}> ${status} ${ARG_UNPARSED_ARGUMENTS})
  endif()
  set_tests_properties(${name} PROPERTIES LABELS runner TIMEOUT 60)
endfunction()
