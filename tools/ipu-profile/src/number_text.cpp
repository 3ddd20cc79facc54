#include "ipu_profile/number_text.hpp"

#include <cstdio>

namespace ipu_profile {

std::string fixed_point(double value, int decimals) {
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

std::string percentage(double fraction) {
    return fixed_point(fraction * 100.0, 1) + "%";
}

}  // namespace ipu_profile
