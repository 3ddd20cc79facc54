#pragma once

#include <string>

namespace ipu_sim {

// A device setting from the environment that cannot be used. Runners print
// message() as their one line on standard error and exit with status 2.
struct SettingError {
    std::string variable;  // e.g. "IPU_SIM_FAULT"
    std::string value;     // the raw value as found
    std::string expected;  // what a usable value looks like

    // "<variable>: unusable value \"<value>\" (expected <expected>)", with the value
    // quoted and escaped so that the line stays one line.
    std::string message() const;
};

}  // namespace ipu_sim
