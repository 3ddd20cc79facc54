#include <gtest/gtest.h>

#include <thread>

#include "suite_process.hpp"

namespace suite_test {
namespace {

TEST(DeviceLockBetweenProcesses, TwoSuitesNeverRunRunnersAtTheSameTime) {
    Scratch scratch;
    const EnvironmentChanges slow = logging_to(scratch, {{"FAKE_RUNNER_SLEEP_MS", "120"}});
    const std::vector<std::string> cases = {"all_tile_", "direct_multicast"};
    SuiteRun first, second;
    std::thread other([&] { second = run_process(SUITE_WITH_FAKE_RUNNERS, cases, slow); });
    first = run_process(SUITE_WITH_FAKE_RUNNERS, cases, slow);
    other.join();
    ASSERT_EQ(first.exit_code, 0) << first.out;
    ASSERT_EQ(second.exit_code, 0) << second.out;

    const auto records = scratch.records();
    ASSERT_EQ(records.size(), 6u);
    for (std::size_t a = 0; a < records.size(); ++a) {
        for (std::size_t b = a + 1; b < records.size(); ++b) {
            const long long a_start = std::stoll(records[a].at("start"));
            const long long a_end = std::stoll(records[a].at("end"));
            const long long b_start = std::stoll(records[b].at("start"));
            const long long b_end = std::stoll(records[b].at("end"));
            EXPECT_TRUE(a_end <= b_start || b_end <= a_start) << "runs " << a << " and " << b;
        }
    }
}

}  // namespace
}  // namespace suite_test
