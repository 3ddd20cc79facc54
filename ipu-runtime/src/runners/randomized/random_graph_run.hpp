#pragma once

#include <cstdint>
#include <expected>
#include <vector>

#include "ipu_exchange/exchange_error.hpp"
#include "ipu_runner/runner_main.hpp"
#include "ipu_sim/program.hpp"
#include "random_graph.hpp"

namespace ipu_randomized_runner {

// The bytes a window holds before the graph runs: its tile's pattern.
std::vector<std::uint8_t> initial_window(const RandomGraph& graph, std::size_t window);

// The device program: superstep 0 initializes every window by a codelet and runs
// phase 0, so the first phase sends freshly computed bytes; superstep p runs
// phase p. Errors are the exchange compiler's.
std::expected<ipu_sim::Program, ipu_exchange::ExchangeError> build_random_program(
    const RandomGraph& graph);

// Every window after all phases, computed on the host: in each phase every
// transfer copies its sender's bytes as they were when the phase began.
std::vector<std::vector<std::uint8_t>> expected_windows(const RandomGraph& graph);

// The whole of ipu-randomized-e2e: the seed (read_random_seed), a device with the
// device settings of this process (ipu_runner::open_device), then the graph of
// the seed compiled, run and every window checked against expected_windows.
// Returns the summary (the graph's shape, the bytes checked and the cycles), or
// the first refused step or mismatch.
ipu_runner::RunnerOutcome run_randomized_e2e();

}  // namespace ipu_randomized_runner
