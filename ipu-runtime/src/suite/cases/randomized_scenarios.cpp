#include "cases/randomized_scenarios.hpp"

#include <set>
#include <vector>

#include "device_lock.hpp"
#include "host_test_and_jitter.hpp"
#include "ipu_exchange/topology.hpp"
#include "ipu_runner_contract/names.hpp"
#include "ipu_scenario/scenario_generator.hpp"
#include "ipu_text/hex_text.hpp"
#include "ipu_text/tile_list.hpp"
#include "launch.hpp"
#include "verdict.hpp"

namespace hardware_suite {

namespace contract = ipu_runner_contract;
namespace {

constexpr std::uint64_t graph_seeds[] = {
    0x5155494c4c4d4553ull,
    0x6a09e667f3bcc909ull,
    0xbb67ae8584caa73bull,
};

struct HostRoundTrip {
    std::uint64_t seed;
    std::uint32_t bytes;
};

constexpr HostRoundTrip host_round_trips[] = {
    {0x243f6a8885a308d3ull, 4},
    {0x13198a2e03707344ull, 1024},
    {0xa4093822299f31d0ull, 8192},
};

constexpr std::size_t tiles_per_round_trip = 8;

}  // namespace

std::string host_round_trip_tiles(std::uint64_t seed) {
    auto generator = ipu_scenario::ScenarioGenerator::from_seed(seed);
    std::set<std::uint16_t> tiles;
    while (tiles.size() < tiles_per_round_trip) {
        tiles.insert(static_cast<std::uint16_t>(generator.below(ipu_exchange::c600_tile_count)));
    }
    return ipu_text::tile_list(std::vector<std::uint16_t>(tiles.begin(), tiles.end()));
}

void randomized_static_d2d_graphs_work() {
    const DeviceGuard guard = device();
    for (const std::uint64_t seed : graph_seeds) {
        const std::string capability = "randomized exchange graph seed " + ipu_text::hex_text(seed);
        RunnerCommand command(contract::randomized_runner);
        command.set(contract::random_seed, std::to_string(seed));
        require_success(capability, run_runner(command, "launch randomized hardware test runner"));
    }
}

void randomized_multi_tile_host_round_trips_work() {
    const DeviceGuard guard = device();
    for (const HostRoundTrip& round_trip : host_round_trips) {
        const std::string tiles = host_round_trip_tiles(round_trip.seed);
        const std::string capability =
            "randomized host round trip seed=" + ipu_text::hex_text(round_trip.seed) +
            " bytes=" + std::to_string(round_trip.bytes) + " tiles=" + tiles;
        require_success(capability,
                        host_test({{contract::host_test_tiles, tiles},
                                   {contract::host_test_bytes, std::to_string(round_trip.bytes)}}));
    }
}

}  // namespace hardware_suite
