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

// The whole of ipu-hardware-e2e: the graphs IPU_GRAPH_TEST selects
// (read_graph_selection), the device settings of this process
// (ipu_runner::device_config_setting), then each graph in turn built and run by
// run_graph on a fresh device. Returns one summary of every graph ("<name>: ..."
// joined by "; "), or the first failure, its line led by the graph's name.
ipu_runner::RunnerOutcome run_hardware_e2e();

}  // namespace ipu_graph_runner
