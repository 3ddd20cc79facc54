#include "ipu_text/hex_text.hpp"

namespace ipu_text {

std::string hex_text(std::uint64_t value, int digits) {
    std::string hex;
    do {
        hex.insert(hex.begin(), "0123456789abcdef"[value % 16]);
        value /= 16;
    } while (value != 0);
    if (digits > 0 && hex.size() < static_cast<std::size_t>(digits)) {
        hex.insert(0, static_cast<std::size_t>(digits) - hex.size(), '0');
    }
    return "0x" + hex;
}

}  // namespace ipu_text
