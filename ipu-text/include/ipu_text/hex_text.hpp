#pragma once

#include <cstdint>
#include <string>

namespace ipu_text {

// `value` as this workspace writes addresses, bytes and seeds: lower-case
// hexadecimal after "0x", padded with zeros to at least `digits` digits
// (hex_text(0x2000) is "0x2000", hex_text(4, 2) is "0x04", hex_text(0) is "0x0").
std::string hex_text(std::uint64_t value, int digits = 1);

}  // namespace ipu_text
