#pragma once

#include <expected>
#include <optional>

#include "host_scenario.hpp"
#include "ipu_exchange/exchange_error.hpp"
#include "ipu_sim/program.hpp"

namespace ipu_host_runner {

// The device program of a run, superstep by superstep:
// - initialize / first compute on the tiles under test, then the relay exchange;
// - second compute on the relay tiles;
// - the final tiles send their data to `host_buffer` (when given), each to its own
//   range in the order of the tiles under test.
// Supersteps a run does not need are left out, so a direct H2D run without host
// sends has an empty program. Errors are those of the exchange compiler.
std::expected<ipu_sim::Program, ipu_exchange::ExchangeError> build_host_program(
    const HostScenario& scenario, std::optional<ipu_sim::HostBufferId> host_buffer);

}  // namespace ipu_host_runner
