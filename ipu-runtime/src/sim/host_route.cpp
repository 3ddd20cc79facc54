#include "ipu_sim/host_route.hpp"

#include "ipu_exchange/topology.hpp"

namespace ipu_sim {

using ipu_exchange::ExchangeError;

std::expected<TileRoute, ExchangeError> route_to_tile(std::uint16_t physical) {
    if (physical >= ipu_exchange::c600_tile_count) {
        return std::unexpected(ExchangeError::Tile{physical});
    }
    return TileRoute{
        .row = static_cast<std::uint8_t>(physical >> 6),
        .column = static_cast<std::uint8_t>(physical & 0b111101u),
        .lane = static_cast<std::uint8_t>((physical >> 1) & 1u),
    };
}

std::expected<std::uint16_t, ExchangeError> route_destination(TileRoute route) {
    const bool row_ok = route.row < c600_rows;
    const bool column_ok = route.column < 64 && (route.column & 0b10u) == 0;
    const bool lane_ok = route.lane <= 1;
    if (!row_ok || !column_ok || !lane_ok) {
        return std::unexpected(ExchangeError::HostPacket{});
    }
    return static_cast<std::uint16_t>(route.row * 64u + route.column + route.lane * 2u);
}

}  // namespace ipu_sim
