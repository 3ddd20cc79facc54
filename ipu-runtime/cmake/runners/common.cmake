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
target_link_libraries(ipu_runner PUBLIC ipu_exchange ipu_sim PRIVATE ipu_text)
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
  LIBRARIES ipu_runner
)

# add_runner(EXECUTABLE FOLDER folder LIBRARY library SOURCES... LINKS...
#            TEST_TARGET tests TESTS... [TEST_LINKS...])
# builds one runner from src/runners/FOLDER. Its code but main.cpp is the static
# library LIBRARY, linked with LINKS (the keywords of target_link_libraries), so
# that the unit tests TEST_TARGET, built from TESTS in tests/runners/FOLDER, link
# the code the executable runs. EXECUTABLE is main.cpp with LIBRARY. SOURCES and
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
  target_link_libraries(${executable} PRIVATE ${ARG_LIBRARY})
  quillmesh_warnings(${executable})

  quillmesh_test(${ARG_TEST_TARGET} SOURCES ${ARG_TESTS} LIBRARIES ${ARG_LIBRARY} ${ARG_TEST_LINKS})
endfunction()

# End-to-end tests: each runner started as the suite starts it, judged by its exit
# status. Every runner variable is cleared first, so an outer environment cannot
# change a scenario.
set(RUNNER_VARIABLES
  IPU_SIM_FAULT IPU_HOST_WRITE_JITTER_MAX_US IPU_HOST_WRITE_JITTER_SEED
  IPU_HOST_TEST_TILE IPU_HOST_TEST_TILES IPU_HOST_TEST_BYTES IPU_HOST_TEST_ADDRESS
  IPU_HOST_TEST_D2H_ONLY IPU_HOST_TEST_REMOTE_D2H IPU_HOST_TEST_EXCHANGE
  IPU_HOST_TEST_INITIALIZED_EXCHANGE IPU_HOST_TEST_COMPUTE_RELAY
  IPU_GRAPH_TEST IPU_RANDOM_SEED
  IPU_GEMM_DIMENSION IPU_GEMM_SRAM_CHECK_BLOCK IPU_PROFILE_OUTPUT)

# runner_e2e_test(NAME RUNNER EXIT_STATUS [VAR=value ...] [STDERR LINE]) runs RUNNER
# with the given variables and passes when it exits with EXIT_STATUS and, with
# STDERR, has written exactly the one line LINE to standard error.
function(runner_e2e_test name runner status)
  cmake_parse_arguments(PARSE_ARGV 3 ARG "" "STDERR" "")
  if(DEFINED ARG_STDERR)
    add_test(NAME ${name}
      COMMAND sh -c "err=$(\"$0\" 2>&1 >/dev/null); test $? -eq ${status} && test \"$err\" = \"$1\""
              $<TARGET_FILE:${runner}> "${ARG_STDERR}")
  else()
    add_test(NAME ${name}
      COMMAND sh -c "\"$0\"; test $? -eq ${status}" $<TARGET_FILE:${runner}>)
  endif()
  set(modifications "")
  foreach(variable IN LISTS RUNNER_VARIABLES)
    list(APPEND modifications "${variable}=unset:")
  endforeach()
  foreach(assignment IN LISTS ARG_UNPARSED_ARGUMENTS)
    string(REGEX REPLACE "^([^=]*)=" "\\1=set:" modification "${assignment}")
    list(APPEND modifications "${modification}")
  endforeach()
  set_tests_properties(${name} PROPERTIES
    LABELS runner TIMEOUT 60 ENVIRONMENT_MODIFICATION "${modifications}")
endfunction()
