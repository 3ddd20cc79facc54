#pragma once

#include <cstdint>
#include <optional>

namespace ipu_profile {

// The chip seen by physical tile number: rows of 64 positions, 23 rows on a C600.
inline constexpr std::uint32_t tiles_per_row = 64;
inline constexpr std::uint32_t chip_rows = 23;
inline constexpr std::uint32_t chip_tiles = tiles_per_row * chip_rows;

struct TilePosition {
    std::uint32_t row = 0;
    std::uint32_t column = 0;
};

// Row and column of a physical tile number. Defined for every number; a row of 23
// or more lies beyond the C600's grid.
constexpr TilePosition tile_position(std::uint32_t physical) {
    return {physical / tiles_per_row, physical % tiles_per_row};
}

// Whether a physical number names one of the C600's tiles.
constexpr bool on_chip(std::uint32_t physical) {
    return physical < chip_tiles;
}

// The logical number of the C600 tile whose physical number is `physical`, or
// nothing when no C600 tile has that number.
std::optional<std::uint16_t> c600_logical_tile(std::uint32_t physical);

}  // namespace ipu_profile
