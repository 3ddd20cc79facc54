#include "ipu_runner/mismatch.hpp"

#include <algorithm>

#include "ipu_runner/physical_tile.hpp"
#include "ipu_text/hex_text.hpp"

namespace ipu_runner {
std::string Mismatch::line() const {
    return check + ": first mismatch at tile " + std::to_string(tile) + " (physical " +
           std::to_string(physical_tile(tile)) + "), address " + ipu_text::hex_text(address) +
           ": expected " + ipu_text::hex_text(expected, 2) + ", actual " +
           ipu_text::hex_text(actual, 2);
}

std::optional<Mismatch> first_mismatch(std::string check, std::uint16_t tile, std::uint32_t address,
                                       std::span<const std::uint8_t> expected,
                                       std::span<const std::uint8_t> actual) {
    const std::size_t length = std::min(expected.size(), actual.size());
    const auto [where_expected, where_actual] = std::mismatch(
        expected.begin(), expected.begin() + static_cast<std::ptrdiff_t>(length), actual.begin());
    const auto offset = static_cast<std::size_t>(where_expected - expected.begin());
    if (offset == length) {
        return std::nullopt;
    }
    return Mismatch{std::move(check), tile, address + static_cast<std::uint32_t>(offset),
                    *where_expected, *where_actual};
}

}  // namespace ipu_runner
