#pragma once

#include <cstddef>
#include <ipu_package/profile_report.hpp>

namespace ipu_profile::testing {

struct SyntheticProfileShape {
    std::size_t samples_per_tile = 40;
    std::size_t metadata_per_step = 3;
    // Gives one tile steps whose names are markup and script, to show that the
    // outputs treat names from a file as data.
    bool hostile_names = false;
};

// A profile of every C600 tile, in logical order, of a blocked matrix product:
// rounds of exchange, compute and synchronisation with some idle time, whose
// cycle counts vary smoothly over the chip with a hot spot. Deterministic; the
// clock runs at 1.33 GHz.
ipu_package::ProfileReport synthetic_profile(const SyntheticProfileShape& shape);

}  // namespace ipu_profile::testing
