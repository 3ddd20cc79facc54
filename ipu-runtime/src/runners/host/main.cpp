#include <iostream>

#include "host_run.hpp"

int main() {
    return ipu_runner::runner_main("ipu-host-e2e", ipu_host_runner::run_host_e2e, std::cout,
                                   std::cerr);
}
