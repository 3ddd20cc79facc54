#include "random_graph.hpp"

#include <algorithm>
#include <optional>

#include "ipu_exchange/c600_sram.hpp"
#include "ipu_exchange/topology.hpp"
#include "ipu_scenario/scenario_generator.hpp"

namespace ipu_randomized_runner {
namespace {

using ipu_scenario::ScenarioGenerator;

constexpr std::uint32_t min_tiles = 8;
constexpr std::uint32_t max_tiles = 64;
constexpr std::uint32_t min_phases = 2;
constexpr std::uint32_t max_phases = 6;
constexpr std::uint32_t max_transfers = 24;
constexpr std::uint32_t max_length_bits = 10;  // lengths up to 2^10 bytes
constexpr std::uint32_t max_receivers = 6;
constexpr unsigned placement_attempts = 8;

std::uint32_t between(ScenarioGenerator& generator, std::uint32_t low, std::uint32_t high) {
    return low + generator.below(high - low + 1);
}

std::vector<TileWindow> draw_windows(ScenarioGenerator& generator) {
    const std::uint32_t count = between(generator, min_tiles, max_tiles);
    std::vector<bool> taken(ipu_exchange::c600_tile_count, false);
    std::vector<TileWindow> windows;
    while (windows.size() < count) {
        const auto tile =
            static_cast<std::uint16_t>(generator.below(ipu_exchange::c600_tile_count));
        if (taken[tile]) {
            continue;
        }
        taken[tile] = true;
        const std::uint32_t slots = (ipu_exchange::c600_tile_sram_bytes - window_bytes) / 4 + 1;
        windows.push_back({tile, generator.below(slots) * 4});
    }
    return windows;
}

// The byte ranges written on each window during one phase.
class PhaseWrites {
  public:
    explicit PhaseWrites(std::size_t windows) : ranges_(windows) {}

    bool free(std::size_t window, std::uint32_t offset, std::uint32_t length) const {
        return std::none_of(ranges_[window].begin(), ranges_[window].end(), [&](const auto& r) {
            return offset < r.first + r.second && r.first < offset + length;
        });
    }
    void take(std::size_t window, std::uint32_t offset, std::uint32_t length) {
        ranges_[window].emplace_back(offset, length);
    }

  private:
    std::vector<std::vector<std::pair<std::uint32_t, std::uint32_t>>> ranges_;
};

// A transfer of the phase, or nothing when no receiver found room.
std::optional<RandomTransfer> draw_transfer(ScenarioGenerator& generator, std::size_t windows,
                                            PhaseWrites& writes) {
    const auto window_count = static_cast<std::uint32_t>(windows);
    RandomTransfer transfer{};
    transfer.sender = generator.below(window_count);
    transfer.length = 1 + generator.below(1u << generator.below(max_length_bits + 1));
    transfer.source_offset = generator.below(window_bytes - transfer.length + 1);
    const bool multicast = generator.below(3) == 0;
    const std::uint32_t wanted =
        multicast ? between(generator, 2, std::min(max_receivers, window_count - 1)) : 1;
    for (std::uint32_t r = 0; r < wanted; ++r) {
        const std::size_t window = generator.below(window_count);
        const bool repeated = window == transfer.sender ||
                              std::any_of(transfer.receivers.begin(), transfer.receivers.end(),
                                          [window](const auto& x) { return x.window == window; });
        if (repeated) {
            continue;
        }
        for (unsigned attempt = 0; attempt < placement_attempts; ++attempt) {
            const std::uint32_t offset = generator.below(window_bytes - transfer.length + 1);
            if (writes.free(window, offset, transfer.length)) {
                writes.take(window, offset, transfer.length);
                transfer.receivers.push_back({window, offset});
                break;
            }
        }
    }
    if (transfer.receivers.empty()) {
        return std::nullopt;
    }
    return transfer;
}

}  // namespace

RandomGraph generate_random_graph(std::uint64_t seed) {
    ScenarioGenerator generator = ScenarioGenerator::from_seed(seed);
    RandomGraph graph{seed, draw_windows(generator), {}};
    const std::uint32_t phases = between(generator, min_phases, max_phases);
    for (std::uint32_t p = 0; p < phases; ++p) {
        PhaseWrites writes(graph.windows.size());
        std::vector<RandomTransfer> phase;
        const std::uint32_t transfers = between(generator, 1, max_transfers);
        for (std::uint32_t t = 0; t < transfers; ++t) {
            if (auto transfer = draw_transfer(generator, graph.windows.size(), writes)) {
                phase.push_back(std::move(*transfer));
            }
        }
        graph.phases.push_back(std::move(phase));
    }
    return graph;
}

}  // namespace ipu_randomized_runner
