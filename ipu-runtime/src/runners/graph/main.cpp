#include <iostream>

#include "graph_run.hpp"

int main() {
    return ipu_runner::runner_main("ipu-hardware-e2e", ipu_graph_runner::run_hardware_e2e,
                                   std::cout, std::cerr);
}
