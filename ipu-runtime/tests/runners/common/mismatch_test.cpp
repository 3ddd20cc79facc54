#include "ipu_runner/mismatch.hpp"

#include <gtest/gtest.h>

#include <vector>

namespace ipu_runner {
namespace {

TEST(Mismatch, FindsFirstDifferingByteAndItsAddress) {
    const std::vector<std::uint8_t> expected = {1, 2, 3, 4, 5};
    std::vector<std::uint8_t> actual = expected;
    EXPECT_EQ(first_mismatch("D2H", 1471, 0x2000, expected, actual), std::nullopt);
    actual[3] = 0xa5;
    actual[4] = 0;
    const auto mismatch = first_mismatch("D2H", 1471, 0x2000, expected, actual);
    ASSERT_TRUE(mismatch.has_value());
    EXPECT_EQ(mismatch->address, 0x2003u);
    EXPECT_EQ(mismatch->line(),
              "D2H: first mismatch at tile 1471 (physical 63), address 0x2003: expected 0x04, "
              "actual 0xa5");
}

}  // namespace
}  // namespace ipu_runner
