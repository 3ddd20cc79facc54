#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace hardware_suite {

// One environment setting for a runner: a name and a value of raw bytes.
struct EnvironmentOverride {
    std::string name;
    std::string value;
};

// A runner's absolute path plus an ordered list of environment overrides.
// Everything else (the rest of the environment, working directory, standard
// streams) is inherited from the suite; there are no arguments.
class RunnerCommand {
  public:
    // The command for the runner executable `runner_name` in the suite's
    // build-time runner directory.
    explicit RunnerCommand(std::string_view runner_name);

    // Adds an override; applied after all earlier ones, so a name added twice
    // keeps the value added last.
    void set(std::string name, std::string value);

    const std::string& path() const { return path_; }
    const std::vector<EnvironmentOverride>& overrides() const { return overrides_; }

  private:
    std::string path_;
    std::vector<EnvironmentOverride> overrides_;
};

// The suite's environment at this moment with the command's overrides applied
// in order, as NAME=VALUE entries.
std::vector<std::string> runner_environment(const RunnerCommand& command);

}  // namespace hardware_suite
