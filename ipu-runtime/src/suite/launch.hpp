#pragma once

#include <string_view>

#include "runner_command.hpp"

namespace hardware_suite {

// Starts the runner and waits for it, and returns its raw wait status. When it
// cannot be started or waited for, ends the case with `launch_failure_text`,
// ": " and the operating-system error's debug form. The runner holds the
// caller's device lock file as well, and runs under the suite's time limit, if
// one is configured: a runner that outruns it is killed and ends with SIGKILL.
// Each run is also recorded on the case's report (the command as a shell line
// that reruns it by hand, the exit status, and whether the time limit ended
// it), numbered from 1 within the case.
int run_runner(const RunnerCommand& command, std::string_view launch_failure_text);

// Starts numbering a new case's runs; the harness calls it before each case.
void begin_case_runs();

}  // namespace hardware_suite
