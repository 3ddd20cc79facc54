#include "tool_process.hpp"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <stdexcept>

#include "small_profile.hpp"

extern char** environ;

namespace ipu_profile::testing {

ToolRun run_tool(const std::vector<std::string>& args, const std::string& scratch) {
    const std::string executable = IPU_PROFILE_EXECUTABLE;
    const std::string out_path = scratch + "/stdout";
    const std::string err_path = scratch + "/stderr";
    std::vector<std::string> arguments = {executable};
    arguments.insert(arguments.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& argument : arguments) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, out_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    posix_spawn_file_actions_addopen(&actions, 2, err_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    pid_t pid = 0;
    const int spawned =
        posix_spawn(&pid, executable.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) {
        throw std::runtime_error("cannot start " + executable);
    }
    int wait_status = 0;
    ::waitpid(pid, &wait_status, 0);
    return ToolRun{
        .status = WIFEXITED(wait_status) ? WEXITSTATUS(wait_status) : 128 + WTERMSIG(wait_status),
        .out = read_file(out_path),
        .err = read_file(err_path),
    };
}

}  // namespace ipu_profile::testing
