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
target_link_libraries(ipu_gemm_core PUBLIC ipu_exchange ipu_scenario ipu_sim ipu_runner ipu_package)
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
