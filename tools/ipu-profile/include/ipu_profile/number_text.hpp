#pragma once

#include <string>

namespace ipu_profile {

// `value` with exactly `decimals` digits after the point, e.g. "928.25".
std::string fixed_point(double value, int decimals);

// A fraction as a percentage with one decimal, e.g. "12.3%".
std::string percentage(double fraction);

}  // namespace ipu_profile
