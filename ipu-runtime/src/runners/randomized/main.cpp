#include <iostream>

#include "ipu_runner_contract/names.hpp"
#include "random_graph_run.hpp"

int main() {
    return ipu_runner::runner_main(ipu_runner_contract::randomized_runner,
                                   ipu_randomized_runner::run_randomized_e2e, std::cout, std::cerr);
}
