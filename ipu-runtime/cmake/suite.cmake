# The hardware acceptance suite: a library with the cases and their shared
# functions, and executables that differ only in their build-time settings.

add_library(hardware_suite STATIC
  src/suite/cases/fixed_scenarios.cpp
  src/suite/cases/host_route_coverage.cpp
  src/suite/cases/profiled_gemm.cpp
  src/suite/cases/randomized_scenarios.cpp
  src/suite/device_lock.cpp
  src/suite/harness.cpp
  src/suite/host_test_and_jitter.cpp
  src/suite/launch.cpp
  src/suite/registry.cpp
  src/suite/runner_command.cpp
  src/suite/runner_process.cpp
  src/suite/runner_time_limit.cpp
  src/suite/verdict.cpp
)
target_include_directories(hardware_suite PUBLIC src/suite)
target_link_libraries(hardware_suite PUBLIC ipu_exchange ipu_package ipu_runner_contract ipu_scenario GTest::gtest Threads::Threads
  PRIVATE ipu_text)
quillmesh_warnings(hardware_suite)

# hardware_suite_executable(NAME RUNNER_DIR LOCK_FILE) builds a suite executable
# whose runner directory and device lock file are fixed at build time.
function(hardware_suite_executable name runner_dir lock_file)
  add_executable(${name} src/suite/main.cpp src/suite/build_configuration.cpp)
  target_compile_definitions(${name} PRIVATE
    QUILLMESH_RUNNER_DIR="${runner_dir}" QUILLMESH_DEVICE_LOCK="${lock_file}")
  target_link_libraries(${name} PRIVATE hardware_suite)
  quillmesh_warnings(${name})
endfunction()

hardware_suite_executable(hardware_e2e "${QUILLMESH_RUNNER_DIR}" "${QUILLMESH_DEVICE_LOCK}")

include(cmake/suite_tests.cmake)
include(cmake/suite_faults.cmake)

# Each case of the suite is also a CTest test (label "hardware"), run one at a
# time on the device, against the runners of this build. A hung runner is killed
# by the suite's own time limit, so its case fails with the ordinary message
# before CTest's timeout would end the whole suite process.
gtest_discover_tests(hardware_e2e
  TEST_PREFIX ""
  DISCOVERY_TIMEOUT 60
  PROPERTIES LABELS hardware RESOURCE_LOCK ipu-device TIMEOUT 300
    ENVIRONMENT IPU_TEST_RUNNER_TIMEOUT_SECONDS=240
)

# The whole suite once more with host writes landing late: the suite forwards
# the jitter settings to every host and GEMM run, which must fence before using
# what they wrote.
add_test(NAME hardware_under_host_write_jitter COMMAND hardware_e2e)
set_tests_properties(hardware_under_host_write_jitter PROPERTIES
  LABELS hardware RESOURCE_LOCK ipu-device TIMEOUT 300
  ENVIRONMENT
    "IPU_TEST_HOST_WRITE_JITTER_MAX_US=250;IPU_TEST_HOST_WRITE_JITTER_SEED=3;IPU_TEST_RUNNER_TIMEOUT_SECONDS=240")
