#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "ipu_runner/runner_main.hpp"
#include "test_support/scoped_environment.hpp"

namespace ipu_runner_testing {

using test_support::ScopedEnvironment;

using Variables = std::vector<std::pair<std::string, std::string>>;

// The variables every runner reads for its device.
inline const std::vector<std::string> device_variables = {
    "IPU_HOST_WRITE_JITTER_MAX_US", "IPU_HOST_WRITE_JITTER_SEED", "IPU_SIM_FAULT"};

// One run of a runner's whole body: the variables it is given, and how it must
// end (its status, and how its summary or failure line starts).
struct RunnerEnding {
    Variables variables;
    ipu_runner::ExitStatus status;
    std::string line_start;
};

// Runs `body` once per case, with the case's variables set and the device
// variables and `runner_variables` cleared otherwise, and checks how it ended.
inline void expect_endings(const std::function<ipu_runner::RunnerOutcome()>& body,
                           std::vector<std::string> runner_variables,
                           std::span<const RunnerEnding> cases) {
    runner_variables.insert(runner_variables.end(), device_variables.begin(),
                            device_variables.end());
    for (const RunnerEnding& c : cases) {
        const ScopedEnvironment environment(c.variables, runner_variables);
        const ipu_runner::RunnerOutcome outcome = body();
        const std::string& line = outcome ? *outcome : outcome.error().line;
        EXPECT_EQ(outcome ? ipu_runner::ExitStatus::passed : outcome.error().status, c.status)
            << line;
        EXPECT_TRUE(line.starts_with(c.line_start))
            << line << "\n  expected to start with " << c.line_start;
    }
}

}  // namespace ipu_runner_testing
