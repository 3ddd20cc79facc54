#include "test_support/child_process.hpp"

#include <fcntl.h>
#include <spawn.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <stdexcept>

extern char** environ;

namespace test_support {
namespace {

std::vector<std::string> changed_environment(const EnvironmentChanges& changes) {
    std::vector<std::string> entries;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        const std::string setting = *entry;
        if (!changes.contains(setting.substr(0, setting.find('=')))) {
            entries.push_back(setting);
        }
    }
    for (const auto& [name, value] : changes) {
        if (value) {
            entries.push_back(name + "=" + *value);
        }
    }
    return entries;
}

std::vector<char*> pointers_to(std::vector<std::string>& texts) {
    std::vector<char*> pointers;
    for (std::string& text : texts) {
        pointers.push_back(text.data());
    }
    pointers.push_back(nullptr);
    return pointers;
}

// An anonymous file in memory, closed with the object.
class MemoryFile {
  public:
    MemoryFile() : file_(::memfd_create("test-child-stream", MFD_CLOEXEC)) {
        if (file_ < 0) {
            throw std::runtime_error("memfd_create failed");
        }
    }
    explicit MemoryFile(const std::string& content) : MemoryFile() {
        if (::pwrite(file_, content.data(), content.size(), 0) !=
            static_cast<ssize_t>(content.size())) {
            throw std::runtime_error("cannot write a child's input");
        }
    }
    ~MemoryFile() { ::close(file_); }
    MemoryFile(const MemoryFile&) = delete;
    MemoryFile& operator=(const MemoryFile&) = delete;

    int get() const { return file_; }

    std::string content() const {
        std::string text;
        char buffer[65536];
        ssize_t got;
        while ((got = ::pread(file_, buffer, sizeof buffer, static_cast<off_t>(text.size()))) > 0) {
            text.append(buffer, static_cast<std::size_t>(got));
        }
        return text;
    }

  private:
    int file_;
};

pid_t spawn(const std::string& executable, const std::vector<std::string>& arguments,
            const EnvironmentChanges& changes, int input, int out, int err,
            const std::string& working_directory) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, input, 0);
    posix_spawn_file_actions_adddup2(&actions, out, 1);
    posix_spawn_file_actions_adddup2(&actions, err, 2);
    if (!working_directory.empty()) {
        posix_spawn_file_actions_addchdir_np(&actions, working_directory.c_str());
    }
    std::vector<std::string> argument_texts = {executable};
    argument_texts.insert(argument_texts.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv = pointers_to(argument_texts);
    std::vector<std::string> environment = changed_environment(changes);
    std::vector<char*> envp = pointers_to(environment);

    pid_t pid = 0;
    const int started =
        ::posix_spawn(&pid, executable.c_str(), &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (started != 0) {
        throw std::runtime_error("cannot start " + executable);
    }
    return pid;
}

int exit_code_of(pid_t pid) {
    int status = 0;
    while (::waitpid(pid, &status, 0) == -1 && errno == EINTR) {
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace

ChildRun run_child(const std::string& executable, const std::vector<std::string>& arguments,
                   const ChildSetup& setup) {
    const MemoryFile input(setup.input);
    const MemoryFile out;
    const MemoryFile err;
    int out_target = out.get();
    if (!setup.out_file.empty()) {
        out_target = ::open(setup.out_file.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        if (out_target < 0) {
            throw std::runtime_error("cannot open " + setup.out_file);
        }
    }
    const pid_t pid =
        spawn(executable, arguments, setup.environment, input.get(), out_target,
              setup.join_error_into_out ? out_target : err.get(), setup.working_directory);
    if (out_target != out.get()) {
        ::close(out_target);
    }
    ChildRun run;
    run.exit_code = exit_code_of(pid);
    run.out = out.content();
    run.err = err.content();
    return run;
}

BackgroundChild::BackgroundChild(const std::string& executable,
                                 const std::vector<std::string>& arguments,
                                 const EnvironmentChanges& environment,
                                 const std::string& output_path) {
    const MemoryFile input;
    const int output = ::open(output_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (output < 0) {
        throw std::runtime_error("cannot open " + output_path);
    }
    pid_ = spawn(executable, arguments, environment, input.get(), output, output, "");
    ::close(output);
}

BackgroundChild::~BackgroundChild() {
    if (pid_ > 0) {
        ::kill(pid_, SIGKILL);
        exit_code_of(pid_);
    }
}

void BackgroundChild::kill(int signal) {
    ::kill(pid_, signal);
}

int BackgroundChild::wait() {
    const int code = exit_code_of(pid_);
    pid_ = -1;
    return code;
}

}  // namespace test_support
