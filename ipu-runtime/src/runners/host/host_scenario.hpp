#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "alias_sentinels.hpp"
#include "host_settings.hpp"
#include "ipu_sim/codelet.hpp"

namespace ipu_host_runner {

// Everything a run does, worked out from its settings before the device is touched.
// Tiles are logical numbers.
struct HostScenario {
    HostSettings settings;
    // relay_tiles[i] receives the data of settings.tiles[i]; empty on a direct path.
    std::vector<std::uint16_t> relay_tiles;
    // Ranges written with a sentinel pattern on every tile that holds data, before
    // the data: where an SRAM address bit were ignored, the data would land on them.
    std::vector<ipu_sim::ByteRange> sentinels;
    // The tiles that hold the result also send it to one host buffer, each to its
    // own range: when asked for, when several tiles are under test, and after H2D
    // (the tile's own view of what the host wrote, which a packet delivered to the
    // wrong tile and read back from there would not match).
    bool device_sends;

    // The tiles that hold the result at the end: the relay tiles on a relayed
    // path, the tiles under test otherwise.
    std::span<const std::uint16_t> final_tiles() const;

    // Every tile that holds data: the tiles under test, then the relay tiles.
    std::vector<std::uint16_t> holder_tiles() const;
};

HostScenario build_host_scenario(HostSettings settings);

// A distinct partner for each tile, outside `tiles`: for tile t the first free tile
// of t + 736, t + 737, ... (modulo 1472), so partners sit half the chip away.
// Needs at most 736 tiles.
std::vector<std::uint16_t> relay_partners(std::span<const std::uint16_t> tiles);

}  // namespace ipu_host_runner
