# ipu-gemm-e2e: blocked GEMM over the tiles, with an optional SRAM read-back of one
# output block and an optional per-tile cycle profile.
add_runner(ipu-gemm-e2e
  FOLDER gemm
  LIBRARY ipu_gemm_core
  SOURCES
    cycle_profile.cpp
    gemm_annotations.cpp
    gemm_kernels.cpp
    gemm_matrices.cpp
    gemm_plan.cpp
    gemm_program.cpp
    gemm_runner.cpp
    gemm_settings.cpp
    profile_file.cpp
  LINKS PUBLIC ipu_exchange ipu_scenario ipu_sim ipu_runner ipu_package PRIVATE ipu_text
  TEST_TARGET ipu_gemm_tests
  TESTS
    cycle_profile_test.cpp
    gemm_blocking_test.cpp
    gemm_run_test.cpp
    gemm_settings_test.cpp
    profile_file_test.cpp
)

# End to end: first the suite's GEMM case, then its profile read back through the
# profile reader.
set(GEMM_E2E_PROFILE "${CMAKE_CURRENT_BINARY_DIR}/gemm-e2e-profile.capnp")
runner_e2e_test(runner.gemm.profiled ipu-gemm-e2e 0
  IPU_GEMM_DIMENSION=128 IPU_PROFILE_OUTPUT=${GEMM_E2E_PROFILE} IPU_GEMM_SRAM_CHECK_BLOCK=1,1)
set_tests_properties(runner.gemm.profiled PROPERTIES FIXTURES_SETUP gemm_e2e_profile)

add_executable(gemm_profile_check tests/runners/gemm/gemm_profile_check.cpp)
quillmesh_warnings(gemm_profile_check)
target_link_libraries(gemm_profile_check PRIVATE ipu_gemm_core GTest::gtest GTest::gtest_main)
add_test(NAME runner.gemm.profiled.reads-back COMMAND gemm_profile_check)
set_tests_properties(runner.gemm.profiled.reads-back PROPERTIES
  LABELS runner TIMEOUT 60 FIXTURES_REQUIRED gemm_e2e_profile
  ENVIRONMENT "IPU_PROFILE_OUTPUT=${GEMM_E2E_PROFILE}")

runner_e2e_test(runner.gemm.default ipu-gemm-e2e 0)
runner_e2e_test(runner.gemm.ragged-blocks ipu-gemm-e2e 0
  IPU_GEMM_DIMENSION=100 IPU_GEMM_SRAM_CHECK_BLOCK=6,6)
runner_e2e_test(runner.gemm.jitter ipu-gemm-e2e 0
  IPU_GEMM_SRAM_CHECK_BLOCK=1,1 IPU_HOST_WRITE_JITTER_MAX_US=250 IPU_HOST_WRITE_JITTER_SEED=3)
runner_e2e_test(runner.gemm.fault.exchange-bit-flip ipu-gemm-e2e 1
  IPU_SIM_FAULT=exchange-bit-flip)
runner_e2e_test(runner.gemm.fault.skipped-sync ipu-gemm-e2e 1 IPU_SIM_FAULT=skipped-sync)
runner_e2e_test(runner.gemm.bad-dimension ipu-gemm-e2e 2 IPU_GEMM_DIMENSION=1167)
runner_e2e_test(runner.gemm.bad-block ipu-gemm-e2e 2 IPU_GEMM_SRAM_CHECK_BLOCK=8,0)
runner_e2e_test(runner.gemm.unwritable-profile ipu-gemm-e2e 2
  IPU_PROFILE_OUTPUT=${CMAKE_CURRENT_BINARY_DIR}/no-such-directory/profile.capnp)
