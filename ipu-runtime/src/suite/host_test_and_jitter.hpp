#pragma once

#include <vector>

#include "runner_command.hpp"

namespace hardware_suite {

// Adds the suite's host-write jitter settings to a command still being built:
// IPU_TEST_HOST_WRITE_JITTER_MAX_US becomes IPU_HOST_WRITE_JITTER_MAX_US and
// IPU_TEST_HOST_WRITE_JITTER_SEED becomes IPU_HOST_WRITE_JITTER_SEED, each only
// when set (even to the empty value), with its bytes unchanged. Read anew at
// every call.
void configure_host_write_jitter(RunnerCommand& command);

// One run of ipu-host-e2e with `environment` as its overrides, in order, then
// the forwarded jitter settings. Returns the exit status without judging it;
// ends the case with "launch host exchange test runner: ..." when the runner
// cannot be started or waited for.
int host_test(const std::vector<EnvironmentOverride>& environment);

}  // namespace hardware_suite
