# ipu-attention-f16-e2e: FP16 FlashAttention over encoder shapes, spread over the
# tiles and judged against a double-precision reference.
add_runner(ipu-attention-f16-e2e
  FOLDER attention
  LIBRARY ipu_attention_core
  SOURCES
    attention_check.cpp
    attention_inputs.cpp
    attention_plan.cpp
    attention_program.cpp
    attention_reference.cpp
    attention_runner.cpp
    attention_shape.cpp
    flash_attention.cpp
  LINKS PUBLIC ipu_exchange ipu_scenario ipu_sim ipu_runner
  TEST_TARGET ipu_attention_tests
  TESTS
    attention_check_test.cpp
    attention_plan_test.cpp
    flash_attention_test.cpp
    fp16_rounding_test.cpp
)

runner_e2e_test(runner.attention ipu-attention-f16-e2e 0)
runner_e2e_test(runner.attention.jitter ipu-attention-f16-e2e 0
  IPU_HOST_WRITE_JITTER_MAX_US=250 IPU_HOST_WRITE_JITTER_SEED=3)
runner_e2e_test(runner.attention.fault.fp16-accumulation ipu-attention-f16-e2e 1
  IPU_SIM_FAULT=fp16-accumulation)
runner_e2e_test(runner.attention.bad-setting ipu-attention-f16-e2e 2
  IPU_HOST_WRITE_JITTER_MAX_US=1ms)
# An unknown fault is refused with the whole catalogue.
runner_e2e_test(runner.attention.bad-fault-name ipu-attention-f16-e2e 2 IPU_SIM_FAULT=?
  STDERR "ipu-attention-f16-e2e: IPU_SIM_FAULT=\"?\": not a fault; the faults are route-lane-stuck, route-row-stuck, h2d-packet-drop, h2d-packet-duplicate, h2d-late-landing, exchange-drop, exchange-bit-flip, multicast-receiver-drop, sram-address-alias, compute-bit-flip, skipped-sync, fp16-accumulation, profile-missing-tile, profile-missing-kind, profile-zero-clock")
