#include "random_graph_run.hpp"

#include <gtest/gtest.h>

#include "../scoped_environment.hpp"

namespace ipu_randomized_runner {
namespace {

using ipu_runner::ExitStatus;
using ipu_runner_testing::ScopedEnvironment;

const std::vector<std::string> runner_variables = {"IPU_RANDOM_SEED", "IPU_SIM_FAULT",
                                                   "IPU_HOST_WRITE_JITTER_MAX_US",
                                                   "IPU_HOST_WRITE_JITTER_SEED"};

ipu_runner::RunnerOutcome run_with(const std::vector<std::pair<std::string, std::string>>& set) {
    const ScopedEnvironment environment(set, runner_variables);
    return run_randomized_e2e();
}

TEST(RandomizedE2e, SummaryDescribesTheGraphOfTheSeed) {
    const RandomGraph graph = generate_random_graph(7640891576956012809u);
    const auto outcome = run_with({{"IPU_RANDOM_SEED", "7640891576956012809"}});
    ASSERT_TRUE(outcome.has_value()) << outcome.error().line;
    const std::string expected_start =
        "seed 7640891576956012809: " + std::to_string(graph.phases.size()) + " phases, ";
    EXPECT_TRUE(outcome->starts_with(expected_start)) << *outcome;
    const std::string checked =
        std::to_string(graph.windows.size() * window_bytes) + " bytes checked, ";
    EXPECT_NE(outcome->find(checked), std::string::npos) << *outcome;
}

TEST(RandomizedE2e, AFaultyExchangeEndsInAWindowMismatch) {
    const auto outcome = run_with(
        {{"IPU_RANDOM_SEED", "7640891576956012809"}, {"IPU_SIM_FAULT", "exchange-bit-flip"}});
    ASSERT_FALSE(outcome.has_value());
    EXPECT_EQ(outcome.error().status, ExitStatus::failed);
    EXPECT_TRUE(outcome.error().line.starts_with("window after all phases: first mismatch"))
        << outcome.error().line;
}

TEST(RandomizedE2e, RefusedSettingsStopItBeforeTheGraphRuns) {
    for (const auto& [variable, value] : std::vector<std::pair<std::string, std::string>>{
             {"IPU_RANDOM_SEED", "18446744073709551616"}, {"IPU_SIM_FAULT", "cosmic-ray"}}) {
        const auto outcome = run_with({{variable, value}});
        ASSERT_FALSE(outcome.has_value()) << variable;
        EXPECT_EQ(outcome.error().status, ExitStatus::bad_setting);
        EXPECT_TRUE(outcome.error().line.starts_with(variable + "=")) << outcome.error().line;
    }
}

}  // namespace
}  // namespace ipu_randomized_runner
