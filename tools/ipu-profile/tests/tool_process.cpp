#include "tool_process.hpp"

namespace ipu_profile::testing {

ToolRun run_tool(const std::vector<std::string>& args, const std::string& scratch) {
    return test_support::run_child(IPU_PROFILE_EXECUTABLE, args, {.working_directory = scratch});
}

}  // namespace ipu_profile::testing
