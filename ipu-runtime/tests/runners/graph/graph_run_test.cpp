#include "graph_run.hpp"

#include <gtest/gtest.h>

#include "../scoped_environment.hpp"

namespace ipu_graph_runner {
namespace {

using ipu_runner::ExitStatus;
using ipu_runner_testing::ScopedEnvironment;

const std::vector<std::string> runner_variables = {"IPU_GRAPH_TEST", "IPU_SIM_FAULT",
                                                   "IPU_HOST_WRITE_JITTER_MAX_US",
                                                   "IPU_HOST_WRITE_JITTER_SEED"};

ipu_runner::RunnerOutcome run_with(const std::vector<std::pair<std::string, std::string>>& set) {
    const ScopedEnvironment environment(set, runner_variables);
    return run_hardware_e2e();
}

TEST(HardwareE2e, SummaryNamesTheSelectedGraph) {
    const auto outcome = run_with({{"IPU_GRAPH_TEST", "multicast"}});
    ASSERT_TRUE(outcome.has_value()) << outcome.error().line;
    EXPECT_TRUE(outcome->starts_with("multicast: ")) << *outcome;
    EXPECT_EQ(outcome->find("; "), std::string::npos) << *outcome;
    EXPECT_NE(outcome->find(" bytes checked, "), std::string::npos) << *outcome;
}

TEST(HardwareE2e, AFailureIsLedByItsGraphsName) {
    const auto outcome =
        run_with({{"IPU_GRAPH_TEST", "permutation"}, {"IPU_SIM_FAULT", "exchange-drop"}});
    ASSERT_FALSE(outcome.has_value());
    EXPECT_EQ(outcome.error().status, ExitStatus::failed);
    EXPECT_TRUE(outcome.error().line.starts_with("permutation: ")) << outcome.error().line;
    EXPECT_NE(outcome.error().line.find("first mismatch at tile"), std::string::npos)
        << outcome.error().line;
}

TEST(HardwareE2e, RefusedSettingsStopItBeforeAnyGraphRuns) {
    for (const auto& [variable, value] : std::vector<std::pair<std::string, std::string>>{
             {"IPU_GRAPH_TEST", "fan-out"}, {"IPU_HOST_WRITE_JITTER_SEED", "007"}}) {
        const auto outcome = run_with({{variable, value}});
        ASSERT_FALSE(outcome.has_value()) << variable;
        EXPECT_EQ(outcome.error().status, ExitStatus::bad_setting);
        EXPECT_TRUE(outcome.error().line.starts_with(variable + "=")) << outcome.error().line;
    }
}

}  // namespace
}  // namespace ipu_graph_runner
