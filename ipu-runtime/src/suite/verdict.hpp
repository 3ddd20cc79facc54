#pragma once

#include <string>
#include <string_view>

namespace hardware_suite {

// How a runner ended, from its raw wait status: "exit status: 3",
// "signal: 9 (SIGKILL)", "signal: 11 (SIGSEGV) (core dumped)" or "signal: 34".
std::string exit_status_text(int wait_status);

// Returns when the runner exited normally with code 0; otherwise ends the case
// with "hardware capability \"<capability>\" failed with <exit status text>".
void require_success(std::string_view capability, int wait_status);

}  // namespace hardware_suite
