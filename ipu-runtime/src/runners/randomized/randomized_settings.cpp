#include "randomized_settings.hpp"

#include <limits>

#include "ipu_runner_contract/names.hpp"

namespace ipu_randomized_runner {

namespace contract = ipu_runner_contract;

ipu_runner::Setting<std::uint64_t> read_random_seed() {
    const auto seed = ipu_runner::decimal_setting(contract::random_seed,
                                                  std::numeric_limits<std::uint64_t>::max());
    if (!seed) {
        return std::unexpected(seed.error());
    }
    return seed->value_or(default_seed);
}

}  // namespace ipu_randomized_runner
