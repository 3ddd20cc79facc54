#pragma once

#include <string>
#include <vector>

namespace ipu_profile::testing {

struct ToolRun {
    int status = -1;
    std::string out;
    std::string err;
};

// Runs the ipu-profile executable with `args` in the directory `scratch`, which
// also receives its captured standard output and error.
ToolRun run_tool(const std::vector<std::string>& args, const std::string& scratch);

}  // namespace ipu_profile::testing
