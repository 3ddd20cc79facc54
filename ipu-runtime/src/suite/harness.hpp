#pragma once

namespace hardware_suite {

// The suite's entry point: hands the registry and the command line to
// GoogleTest. Positional arguments select the cases whose names contain any of
// them; an unknown option prints a usage line. Returns the process exit status:
// 0 when every selected case passed, 101 when any failed or the command line
// was rejected.
int run_hardware_suite(int argc, char** argv);

}  // namespace hardware_suite
