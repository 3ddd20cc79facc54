#include "runner_command.hpp"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

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

std::expected<int, int> start_and_wait(const RunnerCommand& command) {
    std::vector<std::string> environment = runner_environment(command);
    std::vector<char*> envp;
    envp.reserve(environment.size() + 1);
    for (std::string& entry : environment) {
        envp.push_back(entry.data());
    }
    envp.push_back(nullptr);

    std::string argument_zero = command.path();
    char* argv[] = {argument_zero.data(), nullptr};

    pid_t pid = 0;
    const int started =
        ::posix_spawn(&pid, command.path().c_str(), nullptr, nullptr, argv, envp.data());
    if (started != 0) {
        return std::unexpected(started);
    }
    int status = 0;
    while (::waitpid(pid, &status, 0) == -1) {
        if (errno != EINTR) {
            return std::unexpected(errno);
        }
    }
    return status;
}

}  // namespace hardware_suite
