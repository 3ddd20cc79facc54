#include "randomized_settings.hpp"

#include <limits>

namespace ipu_randomized_runner {

ipu_runner::Setting<std::uint64_t> read_random_seed() {
    const auto seed =
        ipu_runner::decimal_setting("IPU_RANDOM_SEED", std::numeric_limits<std::uint64_t>::max());
    if (!seed) {
        return std::unexpected(seed.error());
    }
    return seed->value_or(default_seed);
}

}  // namespace ipu_randomized_runner
