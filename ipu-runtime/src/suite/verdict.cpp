#include "verdict.hpp"

#include <sys/wait.h>

#include <array>

#include "case_failure.hpp"
#include "ipu_text/debug_text.hpp"

namespace hardware_suite {
namespace {

// Linux x86-64 signal names, indexed by signal number.
constexpr std::array<std::string_view, 32> signal_names = {
    "",          "SIGHUP",  "SIGINT",    "SIGQUIT", "SIGILL",   "SIGTRAP", "SIGABRT", "SIGBUS",
    "SIGFPE",    "SIGKILL", "SIGUSR1",   "SIGSEGV", "SIGUSR2",  "SIGPIPE", "SIGALRM", "SIGTERM",
    "SIGSTKFLT", "SIGCHLD", "SIGCONT",   "SIGSTOP", "SIGTSTP",  "SIGTTIN", "SIGTTOU", "SIGURG",
    "SIGXCPU",   "SIGXFSZ", "SIGVTALRM", "SIGPROF", "SIGWINCH", "SIGIO",   "SIGPWR",  "SIGSYS",
};

std::string signal_text(int signal) {
    std::string text = "signal: " + std::to_string(signal);
    if (signal >= 1 && signal < static_cast<int>(signal_names.size())) {
        text += " (";
        text += signal_names[static_cast<std::size_t>(signal)];
        text += ")";
    }
    return text;
}

}  // namespace

std::string exit_status_text(int wait_status) {
    if (WIFEXITED(wait_status)) {
        return "exit status: " + std::to_string(WEXITSTATUS(wait_status));
    }
    if (WIFSIGNALED(wait_status)) {
        std::string text = signal_text(WTERMSIG(wait_status));
        if (WCOREDUMP(wait_status)) {
            text += " (core dumped)";
        }
        return text;
    }
    // Stopped or continued children are not waited for; render the raw status.
    return "wait status: " + std::to_string(wait_status);
}

void require_success(std::string_view capability, int wait_status) {
    if (wait_status == 0) {
        return;
    }
    fail_case("hardware capability " + ipu_text::debug_quoted(capability) + " failed with " +
              exit_status_text(wait_status));
}

}  // namespace hardware_suite
