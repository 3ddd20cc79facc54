#include <iostream>

#include "graph_run.hpp"
#include "ipu_runner_contract/names.hpp"

int main() {
    return ipu_runner::runner_main(ipu_runner_contract::graph_runner,
                                   ipu_graph_runner::run_hardware_e2e, std::cout, std::cerr);
}
