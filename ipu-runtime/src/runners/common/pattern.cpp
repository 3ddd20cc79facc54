#include "ipu_runner/pattern.hpp"

namespace ipu_runner {
namespace {

// splitmix64's finaliser: every input bit reaches every output bit.
constexpr std::uint64_t mix(std::uint64_t value) {
    value ^= value >> 30;
    value *= 0xbf58476d1ce4e5b9ull;
    value ^= value >> 27;
    value *= 0x94d049bb133111ebull;
    return value ^ (value >> 31);
}

}  // namespace

void fill_pattern(PatternSource source, std::uint32_t address, std::span<std::uint8_t> bytes) {
    const std::uint64_t key = (std::uint64_t{source.stream} << 48) ^
                              (std::uint64_t{source.tile} << 32) ^ 0x9e3779b97f4a7c15ull;
    std::uint64_t word_index = ~std::uint64_t{0};
    std::uint64_t word = 0;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const std::uint64_t at = std::uint64_t{address} + i;
        if (at / 8 != word_index) {
            word_index = at / 8;
            word = mix(key ^ (word_index * 0xd1b54a32d192ed03ull));
        }
        bytes[i] = static_cast<std::uint8_t>(word >> (8 * (at % 8)));
    }
}

std::vector<std::uint8_t> pattern_bytes(PatternSource source, std::uint32_t address,
                                        std::size_t length) {
    std::vector<std::uint8_t> bytes(length);
    fill_pattern(source, address, bytes);
    return bytes;
}

}  // namespace ipu_runner
