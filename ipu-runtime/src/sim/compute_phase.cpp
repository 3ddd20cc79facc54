#include "compute_phase.hpp"

#include <algorithm>
#include <array>
#include <string>

#include "ipu_exchange/topology.hpp"
#include "ipu_sim/cost_table.hpp"

namespace ipu_sim {
namespace {

// Flips a bit of the first output of the first codelet that has one.
void inject_compute_bit_flip(const Codelet& codelet, TileMemory& memory, FaultInjector& faults) {
    const auto output = std::find_if(codelet.outputs.begin(), codelet.outputs.end(),
                                     [](const ByteRange& range) { return range.length > 0; });
    if (!codelet.body || output == codelet.outputs.end() ||
        !faults.fire_once(Fault::ComputeBitFlip)) {
        return;
    }
    std::array<std::uint8_t, 4> head{};
    const std::span<std::uint8_t> bytes(head.data(), std::min<std::size_t>(4, output->length));
    memory.read(output->address, bytes);
    flip_fault_bit(bytes);
    memory.write(output->address, bytes);
    faults.report("codelet " + codelet.kernel + " on tile " + std::to_string(codelet.tile) +
                  " wrote a flipped bit at address " + std::to_string(output->address));
}

}  // namespace

std::expected<void, ipu_exchange::ExchangeError> CodeletRunner::run(const Codelet& codelet,
                                                                    TileMemory& memory,
                                                                    FaultInjector& faults) {
    if (!codelet.body) {
        return {};
    }
    TileView view(codelet.tile, memory, codelet.inputs, codelet.outputs, faults);
    codelet.body(view);
    if (view.violation_) {
        return std::unexpected(*view.violation_);
    }
    return {};
}

std::expected<std::vector<std::uint64_t>, ipu_exchange::ExchangeError> run_compute_phase(
    DeviceState& state, const Superstep& step, std::uint32_t phase, std::uint64_t start) {
    std::vector<std::uint64_t> busy(ipu_exchange::c600_tile_count, 0);
    for (const Codelet& codelet : step.compute) {
        TileMemory& memory = state.tiles[codelet.tile];
        if (auto ok = CodeletRunner::run(codelet, memory, state.faults); !ok) {
            return std::unexpected(ok.error());
        }
        inject_compute_bit_flip(codelet, memory, state.faults);
        const std::uint64_t cycles = codelet_cycles(codelet.cost_class, codelet.work);
        const std::uint64_t begin = start + busy[codelet.tile];
        state.ledger.record(codelet.tile, StepKind::Compute, begin, begin + cycles, step.operation,
                            codelet.kernel, phase,
                            {{"cost class", std::string(cost_of(codelet.cost_class).name)},
                             {"work", std::to_string(codelet.work)}});
        busy[codelet.tile] += cycles;
    }
    return busy;
}

}  // namespace ipu_sim
