#pragma once

#include <expected>

#include "runner_command.hpp"
#include "runner_time_limit.hpp"

namespace hardware_suite {

// How a runner's process ended.
struct RunnerEnd {
    int wait_status = 0;                 // the raw wait status
    bool stopped_by_time_limit = false;  // killed with SIGKILL for outrunning the limit
};

// Starts the runner by its path (argument zero is the path, no other arguments,
// the suite's directory and standard streams, the environment of
// runner_environment()), waits for it to end, retrying interrupted waits, and
// returns how it ended, or the operating-system error number when it could not
// be started or waited for.
//
// Beyond what it is given, the runner inherits `device_lock_file` when that is
// not -1 (the open lock file of the device guard), so that the machine-wide
// lock is released only when the runner is gone too; and it is killed with
// SIGKILL when the thread that started it ends, so that it does not outlive a
// suite that dies. With a `time_limit`, a runner still running when it has
// passed is killed with SIGKILL and waited for.
std::expected<RunnerEnd, int> start_and_wait(const RunnerCommand& command, int device_lock_file,
                                             RunnerTimeLimit time_limit);

}  // namespace hardware_suite
