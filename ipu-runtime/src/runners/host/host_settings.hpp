#pragma once

#include <cstdint>
#include <vector>

#include "ipu_runner/settings.hpp"

namespace ipu_host_runner {

// Where the data under test comes from.
enum class HostSource {
    host_write,   // H2D from the host
    device_init,  // a codelet on the tile writes it; no H2D of the data
};

// What happens to the data between its source and the D2H.
enum class HostPath {
    direct,         // read back from the tile that holds it
    relay,          // exchanged to a second tile first, at a compiler-timed slot
    compute_relay,  // compute, exchange to a second tile, compute there
};

// The settings of one ipu-host-e2e run, checked against each other.
struct HostSettings {
    std::vector<std::uint16_t> tiles;  // logical tiles under test, distinct, in given order
    std::uint32_t bytes;               // bytes per tile
    std::uint32_t address;             // tile address of the data
    HostSource source;
    HostPath path;
    bool tiles_send_to_host;  // the tiles send their data to the host themselves
};

inline constexpr std::uint32_t default_bytes = 1024;
inline constexpr std::uint32_t default_address = 0;
inline constexpr std::uint16_t default_tile = 0;

// Data and alias sentinels the run moves at most, over all tiles (keeps the run
// well inside the runner's memory budget).
inline constexpr std::uint64_t max_total_bytes = 32ull << 20;

// Reads IPU_HOST_TEST_TILE, IPU_HOST_TEST_TILES, IPU_HOST_TEST_BYTES,
// IPU_HOST_TEST_ADDRESS, IPU_HOST_TEST_D2H_ONLY, IPU_HOST_TEST_REMOTE_D2H,
// IPU_HOST_TEST_EXCHANGE, IPU_HOST_TEST_INITIALIZED_EXCHANGE and
// IPU_HOST_TEST_COMPUTE_RELAY. Absent variables take the defaults above (one
// tile, H2D, direct). Refused: unparsable values, TILE together with TILES, zero
// bytes, a range past the end of SRAM, more data than max_total_bytes, more than
// 736 tiles when each needs a relay partner, and INITIALIZED_EXCHANGE without an
// exchange to initialize for.
ipu_runner::Setting<HostSettings> read_host_settings();

}  // namespace ipu_host_runner
