#include "cycle_ledger.hpp"

#include <algorithm>
#include <string>

#include "ipu_exchange/topology.hpp"

namespace ipu_sim {

using ipu_exchange::c600_tile_count;

CycleLedger::CycleLedger(bool keep_steps)
    : keep_steps_(keep_steps),
      next_local_index_(c600_tile_count, 0),
      totals_(c600_tile_count),
      steps_(c600_tile_count) {}

void CycleLedger::begin_run() {
    std::fill(next_local_index_.begin(), next_local_index_.end(), 0);
}

void CycleLedger::record(std::uint16_t tile, StepKind kind, std::uint64_t start, std::uint64_t end,
                         std::string_view operation, std::string_view kernel, std::uint32_t phase,
                         std::vector<StepMetadata> metadata) {
    if (end <= start) {
        return;
    }
    const std::uint64_t length = end - start;
    TileCycles& total = totals_[tile];
    switch (kind) {
        case StepKind::Compute:
            total.compute += length;
            break;
        case StepKind::Exchange:
            total.exchange += length;
            break;
        case StepKind::Synchronization:
            total.sync += length;
            break;
        case StepKind::Idle:
            total.idle += length;
            break;
    }
    if (!keep_steps_) {
        return;
    }
    steps_[tile].push_back(StepRecord{
        .kind = kind,
        .start_cycle = start,
        .end_cycle = end,
        .operation = std::string(operation),
        .kernel = std::string(kernel),
        .local_index = next_local_index_[tile]++,
        .phase = phase,
        .epoch = epoch_,
        .metadata = std::move(metadata),
    });
}

TileCycles CycleLedger::totals(std::uint16_t tile) const {
    return tile < totals_.size() ? totals_[tile] : TileCycles{};
}

std::span<const StepRecord> CycleLedger::steps(std::uint16_t tile) const {
    return tile < steps_.size() ? std::span<const StepRecord>(steps_[tile])
                                : std::span<const StepRecord>();
}

}  // namespace ipu_sim
