#include "cases/fixed_scenarios.hpp"

#include "device_lock.hpp"
#include "host_test_and_jitter.hpp"
#include "ipu_runner_contract/names.hpp"
#include "launch.hpp"
#include "verdict.hpp"

namespace hardware_suite {

namespace contract = ipu_runner_contract;

CaseBody graph_case(std::string_view graph, std::string_view launch_failure_text,
                    std::string_view capability) {
    return [=] {
        const DeviceGuard guard = device();
        RunnerCommand command(contract::graph_runner);
        command.set(contract::graph_test, std::string(graph));
        require_success(capability, run_runner(command, launch_failure_text));
    };
}

CaseBody host_case(std::vector<EnvironmentOverride> overrides, std::string_view capability) {
    return [overrides = std::move(overrides), capability] {
        const DeviceGuard guard = device();
        require_success(capability, host_test(overrides));
    };
}

void flash_attention_matches_host_softmax_across_encoder_shapes() {
    const DeviceGuard guard = device();
    const RunnerCommand command(contract::attention_runner);
    require_success("FP16 FlashAttention for encoder head dimensions and batch sizes",
                    run_runner(command, "launch FlashAttention hardware test runner"));
}

}  // namespace hardware_suite
