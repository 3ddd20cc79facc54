#include "runner_process.hpp"

#include <fcntl.h>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdint>
#include <string>
#include <vector>

namespace hardware_suite {
namespace {

// NAME=VALUE entries and the null-terminated pointer array that execve takes.
class EnvironmentBlock {
  public:
    explicit EnvironmentBlock(std::vector<std::string> entries) : entries_(std::move(entries)) {
        pointers_.reserve(entries_.size() + 1);
        for (std::string& entry : entries_) {
            pointers_.push_back(entry.data());
        }
        pointers_.push_back(nullptr);
    }

    char** get() { return pointers_.data(); }

  private:
    std::vector<std::string> entries_;
    std::vector<char*> pointers_;
};

// In the child between fork and exec: only async-signal-safe calls. The error
// of a failed step goes to `report` (close-on-exec, so a successful exec sends
// nothing) and the child ends.
[[noreturn]] void become_runner(const char* path, char** argv, char** envp, int device_lock_file,
                                pid_t suite, int report) {
    int error = 0;
    if (::prctl(PR_SET_PDEATHSIG, SIGKILL) != 0) {
        error = errno;
    } else if (::getppid() != suite) {
        ::_exit(127);  // the suite died before the death signal was armed
    } else if (device_lock_file >= 0 &&
               ::fcntl(device_lock_file, F_SETFD,
                       ::fcntl(device_lock_file, F_GETFD) & ~FD_CLOEXEC) != 0) {
        error = errno;
    } else {
        ::execve(path, argv, envp);
        error = errno;
    }
    [[maybe_unused]] const ssize_t ignored = ::write(report, &error, sizeof error);
    ::_exit(127);
}

// Waits for the start report: 0 once the runner's exec succeeded, else the
// error number of the step that failed.
int start_error(int report) {
    int error = 0;
    ssize_t got;
    do {
        got = ::read(report, &error, sizeof error);
    } while (got < 0 && errno == EINTR);
    return got == static_cast<ssize_t>(sizeof error) ? error : 0;
}

std::expected<int, int> reap(pid_t pid) {
    int status = 0;
    while (::waitpid(pid, &status, 0) == -1) {
        if (errno != EINTR) {
            return std::unexpected(errno);
        }
    }
    return status;
}

// Waits until the runner has ended or `limit` has passed; true when it ended.
std::expected<bool, int> ended_within(pid_t pid, std::chrono::milliseconds limit) {
    // Through syscall(): glibc 2.36 declares pidfd_open without C linkage.
    const int process = static_cast<int>(::syscall(SYS_pidfd_open, pid, 0));
    if (process < 0) {
        return std::unexpected(errno);
    }
    const auto deadline = std::chrono::steady_clock::now() + limit;
    int ready;
    do {
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        pollfd watch{.fd = process, .events = POLLIN, .revents = 0};
        ready = ::poll(&watch, 1, static_cast<int>(std::max<std::int64_t>(left.count(), 0)));
    } while (ready < 0 && errno == EINTR);
    const int error = errno;
    ::close(process);
    if (ready < 0) {
        return std::unexpected(error);
    }
    return ready > 0;
}

}  // namespace

std::expected<RunnerEnd, int> start_and_wait(const RunnerCommand& command, int device_lock_file,
                                             RunnerTimeLimit time_limit) {
    EnvironmentBlock environment(runner_environment(command));
    std::string argument_zero = command.path();
    char* argv[] = {argument_zero.data(), nullptr};

    int report[2];
    if (::pipe2(report, O_CLOEXEC) != 0) {
        return std::unexpected(errno);
    }
    const pid_t suite = ::getpid();
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(report[0]);
        become_runner(command.path().c_str(), argv, environment.get(), device_lock_file, suite,
                      report[1]);
    }
    const int fork_error = errno;
    ::close(report[1]);
    if (pid < 0) {
        ::close(report[0]);
        return std::unexpected(fork_error);
    }
    const int error = start_error(report[0]);
    ::close(report[0]);
    if (error != 0) {
        (void)reap(pid);
        return std::unexpected(error);
    }

    RunnerEnd end;
    if (time_limit) {
        const auto ended = ended_within(pid, *time_limit);
        if (!ended || !*ended) {
            ::kill(pid, SIGKILL);
            end.stopped_by_time_limit = ended.has_value();
        }
        if (!ended) {
            (void)reap(pid);
            return std::unexpected(ended.error());
        }
    }
    const auto status = reap(pid);
    if (!status) {
        return std::unexpected(status.error());
    }
    end.wait_status = *status;
    return end;
}

}  // namespace hardware_suite
