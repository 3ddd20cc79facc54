#include <iostream>

#include "host_run.hpp"
#include "host_settings.hpp"
#include "ipu_runner/device_settings.hpp"

int main() {
    return ipu_runner::runner_main(
        "ipu-host-e2e",
        []() -> ipu_runner::RunnerOutcome {
            auto settings = ipu_host_runner::read_host_settings();
            if (!settings) {
                return std::unexpected(settings.error());
            }
            auto device = ipu_runner::open_device();
            if (!device) {
                return std::unexpected(device.error());
            }
            const auto scenario = ipu_host_runner::build_host_scenario(std::move(*settings));
            return ipu_host_runner::run_host_scenario(scenario, *device);
        },
        std::cout, std::cerr);
}
