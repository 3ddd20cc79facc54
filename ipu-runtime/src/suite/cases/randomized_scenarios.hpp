#pragma once

#include <cstdint>
#include <string>

namespace hardware_suite {

// The eight distinct tiles that `seed` draws, ascending, joined by ",".
std::string host_round_trip_tiles(std::uint64_t seed);

// Three seeded static exchange graphs on ipu-randomized-e2e.
void randomized_static_d2d_graphs_work();

// Three seeded eight-tile host round trips on ipu-host-e2e.
void randomized_multi_tile_host_round_trips_work();

}  // namespace hardware_suite
