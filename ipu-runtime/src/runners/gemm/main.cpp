#include <iostream>

#include "gemm_runner.hpp"
#include "ipu_runner/device_settings.hpp"

namespace {

ipu_runner::RunnerOutcome run() {
    using Failure = std::unexpected<ipu_runner::RunnerFailure>;
    const auto settings = ipu_gemm::gemm_settings_from_environment();
    if (!settings) {
        return Failure(settings.error());
    }
    auto config = ipu_runner::device_config_setting();
    if (!config) {
        return Failure(config.error());
    }
    // Step records are what the profile is made of; without a profile, skip them.
    config->record_steps = settings->profile_output.has_value();
    ipu_sim::Device device(std::move(*config));
    auto profile = ipu_gemm::open_profile_file(*settings);
    if (!profile) {
        return Failure(std::move(profile.error()));
    }
    return ipu_gemm::run_gemm(*settings, device, std::move(*profile));
}

}  // namespace

int main() {
    return ipu_runner::runner_main("ipu-gemm-e2e", run, std::cout, std::cerr);
}
