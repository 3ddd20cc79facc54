#pragma once

#include <cstdint>
#include <expected>
#include <vector>

#include "device_state.hpp"
#include "ipu_exchange/exchange_error.hpp"
#include "ipu_sim/program.hpp"

namespace ipu_sim {

// Runs one codelet's body on its tile through a TileView.
class CodeletRunner {
  public:
    static std::expected<void, ipu_exchange::ExchangeError> run(const Codelet& codelet,
                                                                TileMemory& memory,
                                                                FaultInjector& faults);
};

// Runs the compute phase of `step`, which starts at cycle `start`: every codelet in
// list order, each recorded as a Compute step on its tile after the tile's earlier
// codelets. Returns each tile's compute cycles (indexed by physical tile).
std::expected<std::vector<std::uint64_t>, ipu_exchange::ExchangeError> run_compute_phase(
    DeviceState& state, const Superstep& step, std::uint32_t phase, std::uint64_t start);

}  // namespace ipu_sim
