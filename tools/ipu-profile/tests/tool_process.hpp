#pragma once

#include <string>
#include <vector>

#include "test_support/child_process.hpp"

namespace ipu_profile::testing {

using ToolRun = test_support::ChildRun;

// Runs the ipu-profile executable with `args` in the directory `scratch`, with
// its standard output and error captured apart.
ToolRun run_tool(const std::vector<std::string>& args, const std::string& scratch);

}  // namespace ipu_profile::testing
