#include "cases/host_route_coverage.hpp"

#include <cstdint>
#include <vector>

#include "case_failure.hpp"
#include "device_lock.hpp"
#include "host_test_and_jitter.hpp"
#include "ipu_exchange/topology.hpp"
#include "ipu_runner_contract/names.hpp"
#include "ipu_text/tile_list.hpp"
#include "verdict.hpp"

namespace hardware_suite {

namespace contract = ipu_runner_contract;
namespace {

// Every value of the low six bits with row 0, then row * 64 + 17 for rows 1 to 22.
std::vector<std::uint16_t> route_physical_tiles() {
    std::vector<std::uint16_t> tiles;
    for (std::uint16_t low_bits = 0; low_bits < 64; ++low_bits) {
        tiles.push_back(low_bits);
    }
    for (std::uint16_t row = 1; row <= 22; ++row) {
        tiles.push_back(static_cast<std::uint16_t>(row * 64 + 17));
    }
    return tiles;
}

std::uint16_t logical_tile_of(const ipu_exchange::Topology& topology, std::uint16_t physical) {
    for (std::uint16_t logical = 0; logical < ipu_exchange::c600_tile_count; ++logical) {
        const auto found = topology.physical(logical);
        if (!found) {
            fail_case(unwrap_failure(found.error().debug()));
        }
        if (*found == physical) {
            return logical;
        }
    }
    fail_case("physical C600 tile must have a logical tile");
}

}  // namespace

std::string host_route_tiles() {
    const ipu_exchange::Topology topology = ipu_exchange::Topology::c600();
    std::vector<std::uint16_t> logical_tiles;
    for (const std::uint16_t physical : route_physical_tiles()) {
        logical_tiles.push_back(logical_tile_of(topology, physical));
    }
    return ipu_text::tile_list(logical_tiles);
}

void host_routes_cover_every_endpoint_field() {
    const DeviceGuard guard = device();
    const std::string logical_tiles = host_route_tiles();
    require_success(
        "host routes spanning every endpoint field",
        host_test({{contract::host_test_tiles, logical_tiles}, {contract::host_test_bytes, "64"}}));
}

}  // namespace hardware_suite
