// ipu-sim-faults: prints the simulated device's fault catalogue, the names that
// IPU_SIM_FAULT takes, one a line in catalogue order, for scripts that run
// something once per fault. It takes no arguments: any argument is a usage error
// (status 2); a catalogue that cannot be written fails with status 1.

#include <iostream>

#include "ipu_sim/fault.hpp"

int main(int argc, char**) {
    if (argc > 1) {
        std::cerr << "usage: ipu-sim-faults (prints the names IPU_SIM_FAULT takes, one a line)\n";
        return 2;
    }
    for (const ipu_sim::Fault fault : ipu_sim::all_faults()) {
        std::cout << ipu_sim::fault_name(fault) << '\n';
    }
    if (!std::cout.flush()) {
        std::cerr << "ipu-sim-faults: cannot write the catalogue to standard output\n";
        return 1;
    }
    return 0;
}
