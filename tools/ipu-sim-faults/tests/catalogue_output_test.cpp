#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/wait.h>

#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "ipu_runner/device_settings.hpp"
#include "ipu_sim/fault.hpp"

namespace {

struct ToolRun {
    int exit_status = -1;
    std::string output;
};

// Runs the tool through the shell with `arguments` and `redirections`, and
// captures what reaches the pipe.
ToolRun run_tool(const std::string& arguments, const std::string& redirections) {
    const std::string command =
        std::string("'") + IPU_SIM_FAULTS_EXECUTABLE + "' " + arguments + " " + redirections;
    ToolRun run;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr) {
        return run;
    }
    char buffer[256];
    for (std::size_t read; (read = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
        run.output.append(buffer, read);
    }
    const int status = ::pclose(pipe);
    run.exit_status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
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
    const ToolRun run = run_tool("", "2>/dev/null");
    ASSERT_EQ(run.exit_status, 0);
    ASSERT_FALSE(run.output.empty());
    EXPECT_EQ(run.output.back(), '\n');

    const std::vector<std::string> lines = lines_of(run.output);
    const auto faults = ipu_sim::all_faults();
    ASSERT_EQ(lines.size(), faults.size());
    for (std::size_t i = 0; i < lines.size(); ++i) {
        ::setenv("IPU_SIM_FAULT", lines[i].c_str(), 1);
        const auto config = ipu_runner::device_config_setting();
        ::unsetenv("IPU_SIM_FAULT");
        ASSERT_TRUE(config.has_value()) << "line " << i << ": " << config.error().line();
        EXPECT_EQ(config->fault, faults[i]) << "line " << i << ": " << lines[i];
    }
}

TEST(IpuSimFaults, AnyArgumentIsAUsageErrorWithNothingOnStandardOutput) {
    for (const std::string argument : {"--list-faults", "route-lane-stuck", "''"}) {
        const ToolRun output = run_tool(argument, "2>/dev/null");
        EXPECT_EQ(output.exit_status, 2) << argument;
        EXPECT_EQ(output.output, "") << argument;

        const ToolRun error = run_tool(argument, "2>&1 >/dev/null");
        EXPECT_EQ(error.output,
                  "usage: ipu-sim-faults (prints the names IPU_SIM_FAULT takes, one a line)\n")
            << argument;
    }
}

TEST(IpuSimFaults, AnUnwritableOutputFailsWithOneLine) {
    const ToolRun run = run_tool("", "2>&1 >/dev/full");
    EXPECT_EQ(run.exit_status, 1);
    EXPECT_EQ(run.output, "ipu-sim-faults: cannot write the catalogue to standard output\n");
}

}  // namespace
