#include "ipu_runner/pattern.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <numeric>

namespace ipu_runner {
namespace {

TEST(Pattern, DependsOnAddressNotOnHowARangeIsSplit) {
    const PatternSource source{7, 1471};
    const std::vector<std::uint8_t> whole = pattern_bytes(source, 0x1003, 61);
    std::vector<std::uint8_t> pieces(61);
    fill_pattern(source, 0x1003, std::span(pieces).first(5));
    fill_pattern(source, 0x1008, std::span(pieces).subspan(5, 30));
    fill_pattern(source, 0x1026, std::span(pieces).subspan(35));
    EXPECT_EQ(whole, pieces);
}

TEST(Pattern, DiffersPerStreamPerTileAndPerByte) {
    const std::size_t length = 4096;
    const auto base = pattern_bytes({1, 5}, 0, length);
    const std::vector<std::uint8_t> others[] = {
        pattern_bytes({2, 5}, 0, length),
        pattern_bytes({1, 6}, 0, length),
        pattern_bytes({1, 5}, 1, length),
    };
    for (const auto& other : others) {
        const auto same = std::inner_product(base.begin(), base.end(), other.begin(), 0,
                                             std::plus<>(), std::equal_to<>());
        EXPECT_LT(same, 64) << "patterns agree in " << same << " of " << length << " bytes";
    }
    // No long runs of one value, so a shifted or repeated copy does not pass.
    EXPECT_LT(std::count(base.begin(), base.end(), base[0]), 64);
}

}  // namespace
}  // namespace ipu_runner
