#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "host_scenario.hpp"
#include "ipu_runner/pattern.hpp"
#include "ipu_runner/tile_io.hpp"

namespace ipu_host_runner {

// Pattern streams of one run, one per role of the bytes.
enum PatternStream : std::uint32_t {
    sentinel_stream = 1,  // alias sentinels, written first
    staging_stream = 2,   // the first H2D of the data, overwritten later
    data_stream = 3,      // the data under test
};

// The two byte transforms of the compute relay: the first runs on the tile under
// test before the exchange, the second on the relay tile after it. Both are
// bijections, so any wrong input byte gives a wrong output byte.
constexpr std::uint8_t first_compute(std::uint8_t x) {
    return static_cast<std::uint8_t>(x * 5u + 1u);
}
constexpr std::uint8_t second_compute(std::uint8_t y) {
    return static_cast<std::uint8_t>(((y << 3) | (y >> 5)) ^ 0x3cu);
}

// The data of the tile under test `tile`, as it is written (H2D or codelet).
std::vector<std::uint8_t> source_data(const HostSettings& settings, std::uint16_t tile);

// The result that index `i` of the tiles under test leads to on its final tile.
std::vector<std::uint8_t> final_data(const HostScenario& scenario, std::size_t i);

// Everything every holder tile must hold at the end, computed from first
// principles: the data, its relayed and computed forms, and the sentinels.
std::vector<ipu_runner::TileExpectation> final_expectations(const HostScenario& scenario);

// Bytes in the host buffer after the final tiles sent to it (device_sends): the
// final data of each, one after the other.
std::vector<std::uint8_t> expected_host_buffer(const HostScenario& scenario);

}  // namespace ipu_host_runner
