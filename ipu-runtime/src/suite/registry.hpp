#pragma once

#include <functional>
#include <string_view>
#include <vector>

namespace hardware_suite {

// A case passes by returning and fails by raising CaseFailure.
using CaseBody = std::function<void()>;

struct RegisteredCase {
    std::string_view name;
    CaseBody body;
};

// Every hardware case, in ascending byte order of the names.
const std::vector<RegisteredCase>& registry();

}  // namespace hardware_suite
