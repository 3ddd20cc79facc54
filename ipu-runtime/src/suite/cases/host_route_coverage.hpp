#pragma once

#include <string>

namespace hardware_suite {

// The logical tiles, joined by ",", whose physical numbers take every value of
// the low six bits on row 0 and every row from 1 to 22 with low bits 17, found
// by searching the C600 topology.
std::string host_route_tiles();

// Runs ipu-host-e2e over host_route_tiles() with 64 bytes per tile.
void host_routes_cover_every_endpoint_field();

}  // namespace hardware_suite
