#include <iostream>

#include "attention_runner.hpp"

namespace {

constexpr const char* runner_name = "ipu-attention-f16-e2e";

void report_shape(const std::string& line) {
    std::cout << runner_name << ": " << line << '\n';
}

}  // namespace

int main() {
    return ipu_runner::runner_main(
        runner_name, [] { return ipu_attention::run_attention_f16_e2e(report_shape); }, std::cout,
        std::cerr);
}
