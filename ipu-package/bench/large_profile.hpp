#pragma once

#include <cstdint>

#include "ipu_exchange/topology.hpp"
#include "ipu_package/profile_report.hpp"
#include "support/profile_fixtures.hpp"

namespace ipu_package::bench {

// The shape of a profiled GEMM run on a whole C600: every tile, 1000 samples each,
// three metadata entries per step.
inline ProfileReport large_profile_report() {
    return fixtures::synthetic_report(ipu_exchange::c600_tile_count, 1000, 3);
}

}  // namespace ipu_package::bench
