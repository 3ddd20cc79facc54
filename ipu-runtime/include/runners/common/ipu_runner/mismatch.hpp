#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace ipu_runner {

// The first byte of a result that differs from its reference. `tile` is the
// logical tile the byte belongs to and `address` its address in that tile's
// SRAM; `check` names what was being checked (for example "D2H of the relay").
// A runner reports it with line() and exits with status 1.
struct Mismatch {
    std::string check;
    std::uint16_t tile;
    std::uint32_t address;
    std::uint8_t expected;
    std::uint8_t actual;

    // One line, for example `D2H: first mismatch at tile 1471 (physical 63),
    // address 0x2000: expected 0x5a, actual 0xa5`.
    std::string line() const;
};

// Compares `actual` with `expected` byte for byte; both describe the bytes of
// `tile` from `address` on and must be equally long. Returns the first
// difference, or nothing when they agree.
std::optional<Mismatch> first_mismatch(std::string check, std::uint16_t tile, std::uint32_t address,
                                       std::span<const std::uint8_t> expected,
                                       std::span<const std::uint8_t> actual);

}  // namespace ipu_runner
