#pragma once

#include <cstdint>

#include "ipu_exchange/topology.hpp"

namespace ipu_runner {

// The physical number by which runners address logical tile `logical`, the one
// way they turn logical tiles into physical ones: the C600 mapping for 0..1471.
// Any other number is handed on unchanged rather than mapped, because the
// mapping would fold it onto a real tile (1472 onto 64, logical tile 2's
// number). No C600 tile has a physical number from 1472 up, so the device and
// the exchange compiler refuse it with Tile(n), n being the number the runner
// gave.
constexpr std::uint16_t physical_tile(std::uint16_t logical) {
    return logical < ipu_exchange::c600_tile_count ? ipu_exchange::c600_logical_to_physical(logical)
                                                   : logical;
}

}  // namespace ipu_runner
