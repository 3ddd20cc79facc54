#pragma once

// The names that the suite and the runners share: the five runner executables
// and the environment variables each of them reads. The suite starts runners
// and sets their variables by these names and the runners read them by the
// same ones, so a misspelt setting cannot silently fall back to a default.
namespace ipu_runner_contract {

// The runner executables, all in the build's runner directory.
inline constexpr const char* host_runner = "ipu-host-e2e";
inline constexpr const char* graph_runner = "ipu-hardware-e2e";
inline constexpr const char* randomized_runner = "ipu-randomized-e2e";
inline constexpr const char* gemm_runner = "ipu-gemm-e2e";
inline constexpr const char* attention_runner = "ipu-attention-f16-e2e";

// Read by every runner for its device.
inline constexpr const char* host_write_jitter_max_us = "IPU_HOST_WRITE_JITTER_MAX_US";
inline constexpr const char* host_write_jitter_seed = "IPU_HOST_WRITE_JITTER_SEED";
inline constexpr const char* sim_fault = "IPU_SIM_FAULT";

// ipu-host-e2e.
inline constexpr const char* host_test_tile = "IPU_HOST_TEST_TILE";
inline constexpr const char* host_test_tiles = "IPU_HOST_TEST_TILES";
inline constexpr const char* host_test_bytes = "IPU_HOST_TEST_BYTES";
inline constexpr const char* host_test_address = "IPU_HOST_TEST_ADDRESS";
inline constexpr const char* host_test_d2h_only = "IPU_HOST_TEST_D2H_ONLY";
inline constexpr const char* host_test_remote_d2h = "IPU_HOST_TEST_REMOTE_D2H";
inline constexpr const char* host_test_exchange = "IPU_HOST_TEST_EXCHANGE";
inline constexpr const char* host_test_initialized_exchange = "IPU_HOST_TEST_INITIALIZED_EXCHANGE";
inline constexpr const char* host_test_compute_relay = "IPU_HOST_TEST_COMPUTE_RELAY";

// ipu-hardware-e2e.
inline constexpr const char* graph_test = "IPU_GRAPH_TEST";

// ipu-randomized-e2e.
inline constexpr const char* random_seed = "IPU_RANDOM_SEED";

// ipu-gemm-e2e.
inline constexpr const char* gemm_dimension = "IPU_GEMM_DIMENSION";
inline constexpr const char* gemm_sram_check_block = "IPU_GEMM_SRAM_CHECK_BLOCK";
inline constexpr const char* profile_output = "IPU_PROFILE_OUTPUT";

}  // namespace ipu_runner_contract
