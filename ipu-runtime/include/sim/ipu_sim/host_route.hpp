#pragma once

#include <cstdint>
#include <expected>

#include "ipu_exchange/exchange_error.hpp"

namespace ipu_sim {

// The route fields of a host packet, taken from the bits of a physical tile number:
// row = bits 6-10, column = bits 0 and 2-5 (the C600 column, 0, 1, 4, 5, ... 61;
// bit 1 always clear), lane = bit 1. Bits 11-15 carry no field.
struct TileRoute {
    std::uint8_t row;
    std::uint8_t column;
    std::uint8_t lane;

    friend bool operator==(const TileRoute&, const TileRoute&) = default;
};

// The route of a physical tile; Tile(n) when n is not a C600 physical tile.
std::expected<TileRoute, ipu_exchange::ExchangeError> route_to_tile(std::uint16_t physical);

// The tile a packet with these fields reaches, each field decoded on its own as the
// fabric does: HostPacket when the row is 23 or more, the column has bit 1 set or
// is 64 or more, or the lane is above 1.
std::expected<std::uint16_t, ipu_exchange::ExchangeError> route_destination(TileRoute route);

}  // namespace ipu_sim
