#pragma once

#include <cstdint>

#include "ipu_runner/settings.hpp"

namespace ipu_randomized_runner {

// The seed of the suite's first randomized graph, taken when IPU_RANDOM_SEED is absent.
inline constexpr std::uint64_t default_seed = 0x5155494c4c4d4553;

// IPU_RANDOM_SEED: an unsigned 64-bit decimal number.
ipu_runner::Setting<std::uint64_t> read_random_seed();

}  // namespace ipu_randomized_runner
