#pragma once

#include <string_view>
#include <vector>

#include "registry.hpp"
#include "runner_command.hpp"

namespace hardware_suite {

// A case that asks ipu-hardware-e2e for the graph `graph` (IPU_GRAPH_TEST).
CaseBody graph_case(std::string_view graph, std::string_view launch_failure_text,
                    std::string_view capability);

// A case that runs ipu-host-e2e once through host_test with `overrides`.
CaseBody host_case(std::vector<EnvironmentOverride> overrides, std::string_view capability);

// The FP16 FlashAttention case: ipu-attention-f16-e2e with the suite's environment.
void flash_attention_matches_host_softmax_across_encoder_shapes();

}  // namespace hardware_suite
