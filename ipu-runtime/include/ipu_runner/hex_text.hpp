#pragma once

#include <cstdint>
#include <string>

namespace ipu_runner {

// `value` as runners write addresses and bytes in their reports: lower-case
// hexadecimal after "0x", padded with zeros to at least `digits` digits
// (hex_text(0x2000) is "0x2000", hex_text(4, 2) is "0x04").
std::string hex_text(std::uint32_t value, int digits = 1);

}  // namespace ipu_runner
