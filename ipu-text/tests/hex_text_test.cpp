#include "ipu_text/hex_text.hpp"

#include <gtest/gtest.h>

namespace ipu_text {
namespace {

TEST(HexText, IsLowerCaseAndPaddedToTheDigitsAsked) {
    const struct {
        std::uint64_t value;
        int digits;
        std::string_view text;
    } cases[] = {
        // Seeds: full 64-bit values, lower case, no leading zeros.
        {0x6a09e667f3bcc909ull, 1, "0x6a09e667f3bcc909"},
        {0xBB67AE8584CAA73Bull, 1, "0xbb67ae8584caa73b"},
        {0x13198a2e03707344ull, 1, "0x13198a2e03707344"},
        {0xf, 1, "0xf"},
        {0, 1, "0x0"},
        // Addresses and bytes: padded to at least the digits asked, never cut.
        {0x2000, 1, "0x2000"},
        {4, 2, "0x04"},
        {0xa5, 2, "0xa5"},
        {0x1234, 2, "0x1234"},
        {0, 0, "0x0"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(hex_text(c.value, c.digits), c.text) << c.value << " in " << c.digits;
    }
}

}  // namespace
}  // namespace ipu_text
