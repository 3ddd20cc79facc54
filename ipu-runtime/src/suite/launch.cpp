#include "launch.hpp"

#include <gtest/gtest.h>

#include "case_failure.hpp"
#include "device_lock.hpp"
#include "ipu_text/os_error.hpp"
#include "runner_process.hpp"
#include "verdict.hpp"

namespace hardware_suite {
namespace {

int runs_in_case = 0;

bool is_shell_safe(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
           std::string_view(",._+:@%/-=").find(c) != std::string_view::npos;
}

// A POSIX shell word for `bytes`: as is when safe, else in $'...' with every
// byte outside printable ASCII escaped, so raw bytes survive the report intact.
std::string shell_word(std::string_view bytes) {
    bool safe = !bytes.empty();
    for (const char c : bytes) {
        safe = safe && is_shell_safe(c);
    }
    if (safe) {
        return std::string(bytes);
    }
    std::string word = "$'";
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '\'' || c == '\\') {
            word += '\\';
            word += c;
        } else if (byte < 0x20 || byte >= 0x7f) {
            static constexpr char hex[] = "0123456789abcdef";
            word += "\\x";
            word += hex[byte >> 4];
            word += hex[byte & 0xf];
        } else {
            word += c;
        }
    }
    word += '\'';
    return word;
}

std::string shell_line(const RunnerCommand& command) {
    std::string line;
    for (const EnvironmentOverride& setting : command.overrides()) {
        line += setting.name + "=" + shell_word(setting.value) + " ";
    }
    return line + shell_word(command.path());
}

}  // namespace

void begin_case_runs() {
    runs_in_case = 0;
}

int run_runner(const RunnerCommand& command, std::string_view launch_failure_text) {
    const std::string run = "run" + std::to_string(++runs_in_case);
    testing::Test::RecordProperty(run + "_command", shell_line(command));
    const RunnerTimeLimit limit = runner_time_limit();
    const auto end = start_and_wait(command, held_device_lock_file(), limit);
    if (!end) {
        testing::Test::RecordProperty(run + "_launch_error", ipu_text::os_error_debug(end.error()));
        fail_case(std::string(launch_failure_text) + ": " + ipu_text::os_error_debug(end.error()));
    }
    if (end->stopped_by_time_limit) {
        testing::Test::RecordProperty(
            run + "_stopped_by_time_limit",
            std::string(runner_time_limit_variable) + "=" + seconds_text(*limit));
    }
    testing::Test::RecordProperty(run + "_exit_status", exit_status_text(end->wait_status));
    return end->wait_status;
}

}  // namespace hardware_suite
