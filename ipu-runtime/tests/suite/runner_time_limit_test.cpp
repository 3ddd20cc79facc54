#include "runner_time_limit.hpp"

#include <gtest/gtest.h>

namespace hardware_suite {
namespace {

using std::chrono::milliseconds;

TEST(RunnerTimeLimit, AcceptsPositiveDecimalSecondsRoundedUpToMilliseconds) {
    const struct {
        std::string_view value;
        long long milliseconds;
    } rows[] = {
        {"30", 30000},
        {"2.5", 2500},
        {"0.001", 1},
        {"0.0001", 1},
        {"1.0009", 1001},
        {"1.0000", 1000},
        {"999999999", 999999999000},
    };
    for (const auto& row : rows) {
        const auto limit = parse_runner_time_limit(row.value);
        ASSERT_TRUE(limit.has_value()) << row.value;
        EXPECT_EQ(*limit, milliseconds(row.milliseconds)) << row.value;
    }
}

TEST(RunnerTimeLimit, UnsetOrEmptyMeansNoLimit) {
    for (const std::optional<std::string_view> value :
         {std::optional<std::string_view>(), std::optional<std::string_view>("")}) {
        const auto limit = parse_runner_time_limit(value);
        ASSERT_TRUE(limit.has_value());
        EXPECT_FALSE(limit->has_value());
    }
}

TEST(RunnerTimeLimit, RefusalQuotesTheValue) {
    EXPECT_EQ(parse_runner_time_limit("1\n2").error(),
              "IPU_TEST_RUNNER_TIMEOUT_SECONDS must be a positive decimal number of seconds, got "
              "\"1\\n2\"");
}

TEST(RunnerTimeLimit, SecondsTextDropsTrailingZeros) {
    EXPECT_EQ(seconds_text(milliseconds(30000)), "30");
    EXPECT_EQ(seconds_text(milliseconds(2500)), "2.5");
    EXPECT_EQ(seconds_text(milliseconds(1)), "0.001");
}

}  // namespace
}  // namespace hardware_suite
