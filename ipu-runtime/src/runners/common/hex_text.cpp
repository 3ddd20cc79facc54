#include "ipu_runner/hex_text.hpp"

#include <cstdio>

namespace ipu_runner {

std::string hex_text(std::uint32_t value, int digits) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%0*x", digits, value);
    return text;
}

}  // namespace ipu_runner
