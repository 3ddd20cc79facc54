#include "harness.hpp"

int main(int argc, char** argv) {
    return hardware_suite::run_hardware_suite(argc, argv);
}
