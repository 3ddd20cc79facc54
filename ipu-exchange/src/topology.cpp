#include "ipu_exchange/topology.hpp"

namespace ipu_exchange {

Topology Topology::c600() {
    Topology topology;
    topology.logical_to_physical.reserve(c600_tile_count);
    for (std::uint16_t logical = 0; logical < c600_tile_count; ++logical) {
        topology.logical_to_physical.push_back(c600_logical_to_physical(logical));
    }
    return topology;
}

std::expected<std::uint16_t, ExchangeError> Topology::physical(std::uint16_t logical) const {
    if (logical >= logical_to_physical.size()) {
        return std::unexpected(ExchangeError::Tile{logical});
    }
    return logical_to_physical[logical];
}

}  // namespace ipu_exchange
