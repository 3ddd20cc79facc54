#pragma once

#include <cstdint>
#include <expected>
#include <vector>

#include "ipu_exchange/exchange_error.hpp"

namespace ipu_exchange {

// The C600's grid of tiles: physical number p sits in row p / c600_row_positions
// at position p % c600_row_positions.
inline constexpr std::uint16_t c600_rows = 23;
inline constexpr std::uint16_t c600_row_positions = 64;

// Number of tiles of the IPU on a C600 card, one on every position of the grid.
// Logical and physical tile numbers both run from 0 to c600_tile_count - 1.
inline constexpr std::uint16_t c600_tile_count = c600_rows * c600_row_positions;

// The row of a physical tile number, and its position in that row. Defined for
// every 16-bit number; a row of c600_rows or more lies beyond the grid.
constexpr std::uint16_t c600_row(std::uint16_t physical) {
    return static_cast<std::uint16_t>(physical / c600_row_positions);
}
constexpr std::uint16_t c600_row_position(std::uint16_t physical) {
    return static_cast<std::uint16_t>(physical % c600_row_positions);
}

// Nothing when `tile` names a C600 tile (is below c600_tile_count), Tile(tile)
// otherwise. Serves logical and physical numbers alike.
inline std::expected<void, ExchangeError> check_c600_tile(std::uint16_t tile) {
    if (tile >= c600_tile_count) {
        return std::unexpected(ExchangeError::Tile{tile});
    }
    return {};
}

// The C600's physical number of a logical tile. Logical tiles come in pairs
// (the two lanes), 23 pairs make a block that runs up the rows (even blocks)
// or down them (odd blocks), and blocks 2k and 2k + 1 share columns 4k..4k+3.
// Physical bits: 0 = block mod 2, 1 = lane, 2-5 = block / 2, 6-10 = row.
// Pure and defined for every 16-bit input; the result never exceeds 4255.
// Over 0..1471 it is a permutation of 0..1471.
constexpr std::uint16_t c600_logical_to_physical(std::uint16_t logical) {
    const unsigned pair = logical / 2u;
    const unsigned lane = logical % 2u;
    const unsigned block = pair / c600_rows;
    unsigned row = pair % c600_rows;
    if (block % 2u == 1u) {
        row = c600_rows - 1u - row;
    }
    const unsigned column = (block / 2u) * 4u + block % 2u;
    return static_cast<std::uint16_t>(row * c600_row_positions + column + lane * 2u);
}

// The logical-to-physical table of one card. Entry i is the physical number of
// logical tile i. Immutable after construction; safe to share between readers.
struct Topology {
    std::vector<std::uint16_t> logical_to_physical;

    // The C600 table: the mapping applied to logical tiles 0..1471 in order.
    static Topology c600();

    // The physical number of `logical`, or `Tile` carrying `logical` unchanged
    // when it is not below the table's length. Constant time.
    std::expected<std::uint16_t, ExchangeError> physical(std::uint16_t logical) const;
};

}  // namespace ipu_exchange
