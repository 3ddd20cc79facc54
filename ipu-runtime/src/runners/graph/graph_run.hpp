#pragma once

#include <cstdint>
#include <expected>

#include "graph_plan.hpp"
#include "ipu_runner/runner_main.hpp"
#include "ipu_sim/device.hpp"

namespace ipu_graph_runner {

struct GraphTotals {
    std::size_t bytes_checked;
    std::uint64_t cycles;  // device cycles of the program run
};

// H2D of the plan's inputs, a fence, the program, then D2H and a byte-for-byte
// check of every expectation. The first mismatch or device refusal ends it.
std::expected<GraphTotals, ipu_runner::RunnerFailure> run_graph(const GraphPlan& plan,
                                                                ipu_sim::Device& device);

}  // namespace ipu_graph_runner
