#pragma once

#include <cstdint>
#include <optional>

#include "ipu_exchange/topology.hpp"

namespace ipu_profile {

// Where a physical tile number sits on the C600's grid (ipu_exchange::c600_rows
// rows of ipu_exchange::c600_row_positions positions).
struct TilePosition {
    std::uint32_t row = 0;
    std::uint32_t column = 0;
};

// Row and column of a physical tile number. Defined for every number; a row of
// c600_rows or more lies beyond the C600's grid.
constexpr TilePosition tile_position(std::uint32_t physical) {
    return {physical / ipu_exchange::c600_row_positions,
            physical % ipu_exchange::c600_row_positions};
}

// Whether a physical number names one of the C600's tiles.
constexpr bool on_chip(std::uint32_t physical) {
    return physical < ipu_exchange::c600_tile_count;
}

// The logical number of the C600 tile whose physical number is `physical`, or
// nothing when no C600 tile has that number.
std::optional<std::uint16_t> c600_logical_tile(std::uint32_t physical);

}  // namespace ipu_profile
