#include "ipu_sim/host_route.hpp"

#include "ipu_exchange/topology.hpp"

namespace ipu_sim {

using ipu_exchange::ExchangeError;

std::expected<TileRoute, ExchangeError> route_to_tile(std::uint16_t physical) {
    if (auto ok = ipu_exchange::check_c600_tile(physical); !ok) {
        return std::unexpected(ok.error());
    }
    return TileRoute{
        .row = static_cast<std::uint8_t>(ipu_exchange::c600_row(physical)),
        .column = static_cast<std::uint8_t>(physical & 0b111101u),
        .lane = static_cast<std::uint8_t>((physical >> 1) & 1u),
    };
}

std::expected<std::uint16_t, ExchangeError> route_destination(TileRoute route) {
    const bool row_ok = route.row < ipu_exchange::c600_rows;
    const bool column_ok =
        route.column < ipu_exchange::c600_row_positions && (route.column & 0b10u) == 0;
    const bool lane_ok = route.lane <= 1;
    if (!row_ok || !column_ok || !lane_ok) {
        return std::unexpected(ExchangeError::HostPacket{});
    }
    return static_cast<std::uint16_t>(route.row * ipu_exchange::c600_row_positions + route.column +
                                      route.lane * 2u);
}

}  // namespace ipu_sim
