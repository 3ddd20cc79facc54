#include "runner_command.hpp"

#include "build_configuration.hpp"

extern char** environ;

namespace hardware_suite {
namespace {

std::string join_path(std::string_view directory, std::string_view name) {
    std::string path(directory);
    if (!path.empty() && path.back() != '/') {
        path += '/';
    }
    path += name;
    return path;
}

}  // namespace

RunnerCommand::RunnerCommand(std::string_view runner_name)
    : path_(join_path(runner_directory(), runner_name)) {}

void RunnerCommand::set(std::string name, std::string value) {
    overrides_.push_back({std::move(name), std::move(value)});
}

std::vector<std::string> runner_environment(const RunnerCommand& command) {
    std::vector<std::string> entries;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        entries.emplace_back(*entry);
    }
    for (const EnvironmentOverride& setting : command.overrides()) {
        std::string entry = setting.name + "=" + setting.value;
        const std::string prefix = setting.name + "=";
        bool replaced = false;
        for (std::string& existing : entries) {
            if (existing.starts_with(prefix)) {
                existing = entry;
                replaced = true;
                break;
            }
        }
        if (!replaced) {
            entries.push_back(std::move(entry));
        }
    }
    return entries;
}

}  // namespace hardware_suite
