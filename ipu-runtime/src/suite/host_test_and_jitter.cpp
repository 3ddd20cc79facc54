#include "host_test_and_jitter.hpp"

#include <cstdlib>

#include "ipu_runner_contract/names.hpp"
#include "launch.hpp"

namespace hardware_suite {

namespace contract = ipu_runner_contract;
namespace {

void forward(RunnerCommand& command, const char* suite_name, const char* runner_name) {
    if (const char* value = std::getenv(suite_name)) {
        command.set(runner_name, value);
    }
}

}  // namespace

void configure_host_write_jitter(RunnerCommand& command) {
    forward(command, "IPU_TEST_HOST_WRITE_JITTER_MAX_US", contract::host_write_jitter_max_us);
    forward(command, "IPU_TEST_HOST_WRITE_JITTER_SEED", contract::host_write_jitter_seed);
}

int host_test(const std::vector<EnvironmentOverride>& environment) {
    RunnerCommand command(contract::host_runner);
    for (const EnvironmentOverride& setting : environment) {
        command.set(setting.name, setting.value);
    }
    configure_host_write_jitter(command);
    return run_runner(command, "launch host exchange test runner");
}

}  // namespace hardware_suite
