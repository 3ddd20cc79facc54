#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "ipu_runner/device_settings.hpp"
#include "ipu_sim/fault.hpp"
#include "test_support/child_process.hpp"
#include "test_support/scoped_environment.hpp"

namespace {

using test_support::ChildRun;

ChildRun run_tool(const std::vector<std::string>& arguments, test_support::ChildSetup setup = {}) {
    return test_support::run_child(IPU_SIM_FAULTS_EXECUTABLE, arguments, setup);
}

std::vector<std::string> lines_of(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

// Each line must be a name that IPU_SIM_FAULT takes, and the lines together the
// whole catalogue in its order, so that a script can run once per line.
TEST(IpuSimFaults, PrintsEveryFaultNameOneALineInCatalogueOrder) {
    const ChildRun run = run_tool({});
    ASSERT_EQ(run.exit_code, 0);
    ASSERT_FALSE(run.out.empty());
    EXPECT_EQ(run.out.back(), '\n');

    const std::vector<std::string> lines = lines_of(run.out);
    const auto faults = ipu_sim::all_faults();
    ASSERT_EQ(lines.size(), faults.size());
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const auto config = [&] {
            const test_support::ScopedEnvironment fault({{"IPU_SIM_FAULT", lines[i]}});
            return ipu_runner::device_config_setting();
        }();
        ASSERT_TRUE(config.has_value()) << "line " << i << ": " << config.error().line();
        EXPECT_EQ(config->fault, faults[i]) << "line " << i << ": " << lines[i];
    }
}

TEST(IpuSimFaults, AnyArgumentIsAUsageErrorWithNothingOnStandardOutput) {
    for (const std::string argument : {"--list-faults", "route-lane-stuck", ""}) {
        const ChildRun run = run_tool({argument});
        EXPECT_EQ(run.exit_code, 2) << argument;
        EXPECT_EQ(run.out, "") << argument;
        EXPECT_EQ(run.err,
                  "usage: ipu-sim-faults (prints the names IPU_SIM_FAULT takes, one a line)\n")
            << argument;
    }
}

TEST(IpuSimFaults, AnUnwritableOutputFailsWithOneLine) {
    const ChildRun run = run_tool({}, {.out_file = "/dev/full"});
    EXPECT_EQ(run.exit_code, 1);
    EXPECT_EQ(run.err, "ipu-sim-faults: cannot write the catalogue to standard output\n");
}

}  // namespace
