#include <iostream>

#include "attention_runner.hpp"
#include "ipu_runner_contract/names.hpp"

namespace {

constexpr const char* runner_name = ipu_runner_contract::attention_runner;

void report_shape(const std::string& line) {
    std::cout << runner_name << ": " << line << '\n';
}

}  // namespace

int main() {
    return ipu_runner::runner_main(
        runner_name, [] { return ipu_attention::run_attention_f16_e2e(report_shape); }, std::cout,
        std::cerr);
}
