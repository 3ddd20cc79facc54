#include <iostream>

#include "host_run.hpp"
#include "ipu_runner_contract/names.hpp"

int main() {
    return ipu_runner::runner_main(ipu_runner_contract::host_runner, ipu_host_runner::run_host_e2e,
                                   std::cout, std::cerr);
}
