#include "randomized_settings.hpp"

#include <gtest/gtest.h>

#include "test_support/scoped_environment.hpp"

namespace ipu_randomized_runner {
namespace {

TEST(RandomizedSettings, SeedTable) {
    const struct {
        std::optional<std::string> value;   // nothing: unset
        std::optional<std::uint64_t> seed;  // nothing: refused
    } cases[] = {
        {std::nullopt, default_seed},
        {"5860671082139043155", 5860671082139043155ull},
        {"13503953896175478587", 13503953896175478587ull},
        {"0", 0},
        {"18446744073709551615", 18446744073709551615ull},
        {"18446744073709551616", std::nullopt},
        {"0x5155494c4c4d4553", std::nullopt},
        {"", std::nullopt},
        {"-1", std::nullopt},
        {"007", std::nullopt},
        {"12 ", std::nullopt},
    };
    for (const auto& c : cases) {
        const test_support::ScopedEnvironment environment(
            c.value
                ? std::vector<std::pair<std::string, std::string>>{{"IPU_RANDOM_SEED", *c.value}}
                : std::vector<std::pair<std::string, std::string>>{},
            {"IPU_RANDOM_SEED"});
        const auto seed = read_random_seed();
        const std::string shown = c.value.value_or("(unset)");
        if (c.seed) {
            ASSERT_TRUE(seed.has_value()) << shown;
            EXPECT_EQ(*seed, *c.seed);
        } else {
            ASSERT_FALSE(seed.has_value()) << shown;
            EXPECT_EQ(seed.error().variable, "IPU_RANDOM_SEED");
        }
    }
}

}  // namespace
}  // namespace ipu_randomized_runner
