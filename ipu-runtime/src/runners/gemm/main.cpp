#include <iostream>

#include "gemm_runner.hpp"

int main() {
    return ipu_runner::runner_main("ipu-gemm-e2e", ipu_gemm::run_gemm_e2e, std::cout, std::cerr);
}
