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
