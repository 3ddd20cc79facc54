#include <iostream>

#include "gemm_runner.hpp"
#include "ipu_runner_contract/names.hpp"

int main() {
    return ipu_runner::runner_main(ipu_runner_contract::gemm_runner, ipu_gemm::run_gemm_e2e,
                                   std::cout, std::cerr);
}
