#pragma once

#include <string_view>

namespace hardware_suite {

// Settings fixed when a suite executable is built; each executable links its own
// definition, so nothing at run time can move them.

// Absolute directory that holds the five runner executables.
std::string_view runner_directory();

// Lock file that serialises device use between suite processes on one machine.
std::string_view device_lock_path();

}  // namespace hardware_suite
