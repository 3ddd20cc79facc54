#include "host_scenario.hpp"

#include <algorithm>

#include "ipu_exchange/topology.hpp"

namespace ipu_host_runner {
namespace {

using ipu_exchange::c600_tile_count;

constexpr unsigned lowest_alias_bit = 12;
constexpr unsigned highest_alias_bit = 19;

struct Interval {
    std::uint64_t begin;
    std::uint64_t end;
};

std::vector<ipu_sim::ByteRange> merged(std::vector<Interval> intervals) {
    std::sort(intervals.begin(), intervals.end(),
              [](const Interval& a, const Interval& b) { return a.begin < b.begin; });
    std::vector<Interval> joined;
    for (const Interval& interval : intervals) {
        if (!joined.empty() && interval.begin <= joined.back().end) {
            joined.back().end = std::max(joined.back().end, interval.end);
        } else {
            joined.push_back(interval);
        }
    }
    std::vector<ipu_sim::ByteRange> ranges;
    for (const Interval& interval : joined) {
        ranges.push_back({static_cast<std::uint32_t>(interval.begin),
                          static_cast<std::uint32_t>(interval.end - interval.begin)});
    }
    return ranges;
}

}  // namespace

std::span<const std::uint16_t> HostScenario::final_tiles() const {
    return relay_tiles.empty() ? std::span<const std::uint16_t>(settings.tiles)
                               : std::span<const std::uint16_t>(relay_tiles);
}

std::vector<std::uint16_t> HostScenario::holder_tiles() const {
    std::vector<std::uint16_t> tiles = settings.tiles;
    tiles.insert(tiles.end(), relay_tiles.begin(), relay_tiles.end());
    return tiles;
}

HostScenario build_host_scenario(HostSettings settings) {
    HostScenario scenario{
        .settings = std::move(settings),
        .relay_tiles = {},
        .sentinels = {},
        .device_sends = false,
    };
    const HostSettings& s = scenario.settings;
    if (s.path != HostPath::direct) {
        scenario.relay_tiles = relay_partners(s.tiles);
    }
    scenario.sentinels = alias_sentinels(s.address, s.bytes);
    scenario.device_sends =
        s.tiles_send_to_host || s.tiles.size() > 1 || s.source == HostSource::host_write;
    return scenario;
}

std::vector<std::uint16_t> relay_partners(std::span<const std::uint16_t> tiles) {
    std::vector<bool> taken(c600_tile_count, false);
    for (const std::uint16_t tile : tiles) {
        taken[tile] = true;
    }
    std::vector<std::uint16_t> partners;
    for (const std::uint16_t tile : tiles) {
        for (unsigned step = 0; step < c600_tile_count; ++step) {
            const auto candidate =
                static_cast<std::uint16_t>((tile + c600_tile_count / 2 + step) % c600_tile_count);
            if (!taken[candidate]) {
                taken[candidate] = true;
                partners.push_back(candidate);
                break;
            }
        }
    }
    return partners;
}

std::vector<ipu_sim::ByteRange> alias_sentinels(std::uint32_t address, std::uint32_t bytes) {
    const Interval data{address, std::uint64_t{address} + bytes};
    std::vector<Interval> sentinels;
    for (unsigned bit = lowest_alias_bit; bit <= highest_alias_bit; ++bit) {
        const std::uint64_t block = std::uint64_t{1} << bit;
        // Blocks with the bit set are the odd ones; each aliases the block below it.
        for (std::uint64_t start = data.begin / block * block; start < data.end; start += block) {
            if ((start / block) % 2 == 0) {
                continue;
            }
            const Interval inside{std::max(start, data.begin), std::min(start + block, data.end)};
            const Interval alias{inside.begin - block, inside.end - block};
            if (alias.end <= data.begin || alias.begin >= data.end) {
                sentinels.push_back(alias);
            }
        }
    }
    return merged(std::move(sentinels));
}

}  // namespace ipu_host_runner
