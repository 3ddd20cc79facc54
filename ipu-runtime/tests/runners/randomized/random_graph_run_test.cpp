#include "random_graph_run.hpp"

#include <gtest/gtest.h>

#include "../runner_endings.hpp"
#include "randomized_settings.hpp"

namespace ipu_randomized_runner {
namespace {

using ipu_runner::ExitStatus;
using ipu_runner_testing::RunnerEnding;

TEST(RandomizedE2e, EndsAsItsSeedAndTheDeviceSay) {
    constexpr std::uint64_t seed = 7640891576956012809u;
    const RandomGraph graph = generate_random_graph(seed);
    const RunnerEnding cases[] = {
        {{{"IPU_RANDOM_SEED", std::to_string(seed)}},
         ExitStatus::passed,
         "seed 7640891576956012809: " + std::to_string(graph.phases.size()) + " phases, "},
        {{{"IPU_RANDOM_SEED", std::to_string(seed)}, {"IPU_SIM_FAULT", "exchange-bit-flip"}},
         ExitStatus::failed,
         "window after all phases: first mismatch at tile "},
        {{{"IPU_RANDOM_SEED", "18446744073709551616"}},
         ExitStatus::bad_setting,
         "IPU_RANDOM_SEED=\"18446744073709551616\": "},
        {{{"IPU_SIM_FAULT", "cosmic-ray"}},
         ExitStatus::bad_setting,
         "IPU_SIM_FAULT=\"cosmic-ray\": "},
    };
    ipu_runner_testing::expect_endings(run_randomized_e2e, {"IPU_RANDOM_SEED"}, cases);
}

// The summary counts every byte of every window.
TEST(RandomizedE2e, SummaryCountsEveryWindowsBytes) {
    const RandomGraph graph = generate_random_graph(default_seed);
    std::vector<std::string> cleared = ipu_runner_testing::device_variables;
    cleared.push_back("IPU_RANDOM_SEED");
    const test_support::ScopedEnvironment environment({}, cleared);
    const auto outcome = run_randomized_e2e();
    ASSERT_TRUE(outcome.has_value()) << outcome.error().line;
    EXPECT_NE(outcome->find(", " + std::to_string(graph.windows.size() * window_bytes) +
                            " bytes checked, "),
              std::string::npos)
        << *outcome;
}

}  // namespace
}  // namespace ipu_randomized_runner
