#include "host_scenario.hpp"

#include "ipu_exchange/topology.hpp"

namespace ipu_host_runner {

using ipu_exchange::c600_tile_count;

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

}  // namespace ipu_host_runner
