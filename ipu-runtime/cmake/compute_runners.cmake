# The compute runners: blocked GEMM with a cycle profile (ipu-gemm-e2e) and FP16
# FlashAttention (ipu-attention-f16-e2e). Each runner's logic lives in a small
# library so that its unit tests link the same code the executable runs.

# ipu-attention-f16-e2e: FP16 FlashAttention over encoder shapes, spread over the
# tiles and judged against a double-precision reference.
add_library(ipu_attention_core STATIC
  src/runners/attention/attention_check.cpp
  src/runners/attention/attention_inputs.cpp
  src/runners/attention/attention_plan.cpp
  src/runners/attention/attention_program.cpp
  src/runners/attention/attention_reference.cpp
  src/runners/attention/attention_runner.cpp
  src/runners/attention/attention_shape.cpp
  src/runners/attention/flash_attention.cpp
)
target_include_directories(ipu_attention_core PUBLIC src/runners/attention)
target_link_libraries(ipu_attention_core PUBLIC ipu_exchange ipu_scenario ipu_sim ipu_runner)
quillmesh_warnings(ipu_attention_core)
runner_executable(ipu-attention-f16-e2e attention ipu_attention_core)

quillmesh_test(ipu_attention_tests
  SOURCES
    tests/runners/attention/attention_check_test.cpp
    tests/runners/attention/attention_plan_test.cpp
    tests/runners/attention/flash_attention_test.cpp
    tests/runners/attention/fp16_rounding_test.cpp
  LIBRARIES ipu_attention_core
)

# ipu-gemm-e2e: blocked GEMM over the tiles, with an optional SRAM read-back of one
# output block and an optional per-tile cycle profile.
add_library(ipu_gemm_core STATIC
  src/runners/gemm/cycle_profile.cpp
  src/runners/gemm/gemm_annotations.cpp
  src/runners/gemm/gemm_kernels.cpp
  src/runners/gemm/gemm_matrices.cpp
  src/runners/gemm/gemm_plan.cpp
  src/runners/gemm/gemm_program.cpp
  src/runners/gemm/gemm_runner.cpp
  src/runners/gemm/gemm_settings.cpp
  src/runners/gemm/profile_file.cpp
)
target_include_directories(ipu_gemm_core PUBLIC src/runners/gemm)
target_link_libraries(ipu_gemm_core PUBLIC ipu_exchange ipu_scenario ipu_sim ipu_runner ipu_package
  PRIVATE ipu_text)
quillmesh_warnings(ipu_gemm_core)
runner_executable(ipu-gemm-e2e gemm ipu_gemm_core)

quillmesh_test(ipu_gemm_tests
  SOURCES
    tests/runners/gemm/cycle_profile_test.cpp
    tests/runners/gemm/gemm_blocking_test.cpp
    tests/runners/gemm/gemm_run_test.cpp
    tests/runners/gemm/gemm_settings_test.cpp
    tests/runners/gemm/profile_file_test.cpp
  LIBRARIES ipu_gemm_core
)

# End-to-end runs of both runners. First the suite's GEMM case, then its profile
# read back through the profile reader.
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

runner_e2e_test(runner.attention ipu-attention-f16-e2e 0)
runner_e2e_test(runner.attention.jitter ipu-attention-f16-e2e 0
  IPU_HOST_WRITE_JITTER_MAX_US=250 IPU_HOST_WRITE_JITTER_SEED=3)
runner_e2e_test(runner.attention.fault.fp16-accumulation ipu-attention-f16-e2e 1
  IPU_SIM_FAULT=fp16-accumulation)
runner_e2e_test(runner.attention.bad-setting ipu-attention-f16-e2e 2
  IPU_HOST_WRITE_JITTER_MAX_US=1ms)

# A short form of the fault-detection matrix (scripts/fault-matrix.sh runs the
# whole of it): under each injected fault, the suite must fail the case named
# beside it, and so end with status 101.
set(FAULT_DETECTIONS
  "fp16-accumulation|flash_attention_matches_host_softmax_across_encoder_shapes"
  "profile-missing-tile|blocked_gemm_with_cycle_profile_works"
  "profile-missing-kind|blocked_gemm_with_cycle_profile_works"
  "profile-zero-clock|blocked_gemm_with_cycle_profile_works"
  "skipped-sync|sparse_compute_to_dense_exchange_works"
  "multicast-receiver-drop|direct_multicast_works"
  "sram-address-alias|high_address_large_h2d_and_d2h_work"
  "h2d-packet-duplicate|local_h2d_and_d2h_round_trip_works"
)
foreach(detection IN LISTS FAULT_DETECTIONS)
  string(REPLACE "|" ";" fields "${detection}")
  list(GET fields 0 fault)
  list(GET fields 1 case)
  add_test(NAME faults.${fault}
    COMMAND sh -c "\"$0\" --gtest_filter=hardware.$1; test $? -eq 101"
            $<TARGET_FILE:hardware_e2e> ${case})
  set_tests_properties(faults.${fault} PROPERTIES
    LABELS faults RESOURCE_LOCK ipu-device TIMEOUT 120
    ENVIRONMENT_MODIFICATION
      "IPU_SIM_FAULT=set:${fault};IPU_TEST_HOST_WRITE_JITTER_MAX_US=unset:;IPU_TEST_HOST_WRITE_JITTER_SEED=unset:")
endforeach()
