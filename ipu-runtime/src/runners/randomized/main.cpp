#include <iostream>

#include "random_graph_run.hpp"

int main() {
    return ipu_runner::runner_main("ipu-randomized-e2e", ipu_randomized_runner::run_randomized_e2e,
                                   std::cout, std::cerr);
}
