#include <iostream>

#include "attention_runner.hpp"
#include "ipu_runner/device_settings.hpp"

namespace {

constexpr const char* runner_name = "ipu-attention-f16-e2e";

ipu_runner::RunnerOutcome run() {
    auto device = ipu_runner::open_device();
    if (!device) {
        return std::unexpected(ipu_runner::RunnerFailure(device.error()));
    }
    return ipu_attention::run_attention(
        *device, [](const std::string& line) { std::cout << runner_name << ": " << line << '\n'; });
}

}  // namespace

int main() {
    return ipu_runner::runner_main(runner_name, run, std::cout, std::cerr);
}
