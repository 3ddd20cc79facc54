#include "ipu_profile/tile_position.hpp"

#include <array>

namespace ipu_profile {
namespace {

std::array<std::uint16_t, ipu_exchange::c600_tile_count> physical_to_logical() {
    std::array<std::uint16_t, ipu_exchange::c600_tile_count> inverse{};
    const ipu_exchange::Topology topology = ipu_exchange::Topology::c600();
    for (std::size_t logical = 0; logical < topology.logical_to_physical.size(); ++logical) {
        inverse[topology.logical_to_physical[logical]] = static_cast<std::uint16_t>(logical);
    }
    return inverse;
}

}  // namespace

std::optional<std::uint16_t> c600_logical_tile(std::uint32_t physical) {
    static const std::array<std::uint16_t, ipu_exchange::c600_tile_count> inverse =
        physical_to_logical();
    if (!on_chip(physical)) {
        return std::nullopt;
    }
    return inverse[physical];
}

}  // namespace ipu_profile
