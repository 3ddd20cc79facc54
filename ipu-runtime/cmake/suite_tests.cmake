# Tests of the suite itself, against a fake runner that records what it was
# given and ends as its environment tells it to.

add_executable(suite_fake_runner tests/suite/fake_runner.cpp)
quillmesh_warnings(suite_fake_runner)

get_property(runner_names GLOBAL PROPERTY QUILLMESH_RUNNERS)
set(suite_test_root "${CMAKE_CURRENT_BINARY_DIR}/suite-test-runners")
set(fake_runner_dir "${suite_test_root}/fake")
set(missing_runner_dir "${suite_test_root}/missing")
set(unexecutable_runner_dir "${suite_test_root}/unexecutable")
file(MAKE_DIRECTORY "${fake_runner_dir}" "${missing_runner_dir}" "${unexecutable_runner_dir}")
foreach(runner IN LISTS runner_names)
  file(CREATE_LINK "${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/suite_fake_runner"
       "${fake_runner_dir}/${runner}" SYMBOLIC)
  file(TOUCH "${unexecutable_runner_dir}/${runner}")
  file(CHMOD "${unexecutable_runner_dir}/${runner}" PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
endforeach()

set(suite_test_lock "${suite_test_root}/device.lock")
hardware_suite_executable(hardware_e2e_fake_runners "${fake_runner_dir}" "${suite_test_lock}")
hardware_suite_executable(hardware_e2e_missing_runners "${missing_runner_dir}" "${suite_test_lock}")
hardware_suite_executable(hardware_e2e_unexecutable_runners "${unexecutable_runner_dir}" "${suite_test_lock}")

quillmesh_test(hardware_suite_tests
  SOURCES
    tests/suite/case_values_test.cpp
    tests/suite/verdict_test.cpp
    tests/suite/device_lock_test.cpp
    tests/suite/runner_time_limit_test.cpp
    tests/suite/profile_checks_test.cpp
    tests/suite/profile_fixtures.cpp
    src/suite/build_configuration.cpp
  LIBRARIES hardware_suite ipu_text test_support
)
target_compile_definitions(hardware_suite_tests PRIVATE
  QUILLMESH_RUNNER_DIR="${fake_runner_dir}" QUILLMESH_DEVICE_LOCK="${suite_test_root}/unit.lock")

quillmesh_test(hardware_suite_process_tests
  SOURCES
    tests/suite/suite_process.cpp
    tests/suite/launch_test.cpp
    tests/suite/environment_test.cpp
    tests/suite/lock_between_processes_test.cpp
    tests/suite/runner_lifetime_test.cpp
    tests/suite/gemm_case_test.cpp
    tests/suite/profile_fixtures.cpp
  LIBRARIES ipu_package ipu_package_test_support nlohmann_json::nlohmann_json test_support
)
add_dependencies(hardware_suite_process_tests suite_fake_runner hardware_e2e_fake_runners
  hardware_e2e_missing_runners hardware_e2e_unexecutable_runners)
target_compile_definitions(hardware_suite_process_tests PRIVATE
  SUITE_WITH_FAKE_RUNNERS="$<TARGET_FILE:hardware_e2e_fake_runners>"
  SUITE_WITH_MISSING_RUNNERS="$<TARGET_FILE:hardware_e2e_missing_runners>"
  SUITE_WITH_UNEXECUTABLE_RUNNERS="$<TARGET_FILE:hardware_e2e_unexecutable_runners>"
  FAKE_RUNNER_DIR="${fake_runner_dir}")
