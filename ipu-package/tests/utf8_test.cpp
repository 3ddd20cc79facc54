#include "utf8.hpp"

#include <gtest/gtest.h>

namespace ipu_package {
namespace {

using std::string_literals::operator""s;

}  // namespace

void PrintTo(const Utf8Error& error, std::ostream* out) {
    *out << error.debug();
}

namespace {

struct Utf8Case {
    std::string text;
    std::optional<Utf8Error> fault;
};

TEST(Utf8, FindsTheFirstFaultWithItsValidPrefixAndSequenceLength) {
    const std::optional<std::uint8_t> end = std::nullopt;
    const Utf8Case cases[] = {
        {"", std::nullopt},
        {"plain ascii text, longer than one block", std::nullopt},
        {"nul\0inside"s, std::nullopt},
        {"é ✓ 🙂 \u07ff \uffff \U0010ffff", std::nullopt},
        {"abc\xff", Utf8Error{3, 1}},
        {"\x80", Utf8Error{0, 1}},      // stray continuation byte
        {"\xc0\xaf", Utf8Error{0, 1}},  // overlong lead bytes never start a sequence
        {"\xc1\xbf", Utf8Error{0, 1}},
        {"\xe0\x80\xaf", Utf8Error{0, 1}},      // overlong three-byte form
        {"\xed\xa0\x80", Utf8Error{0, 1}},      // surrogate
        {"\xf0\x8f\xbf\xbf", Utf8Error{0, 1}},  // overlong four-byte form
        {"\xf4\x90\x80\x80", Utf8Error{0, 1}},  // beyond U+10FFFF
        {"\xf5\x80\x80\x80", Utf8Error{0, 1}},
        {"x\xe2\x28\xa1", Utf8Error{1, 1}},
        {"xy\xe2\x82\x28", Utf8Error{2, 2}},
        {"\xf0\x9f\x98\x28", Utf8Error{0, 3}},
        {"\xf0\x9f\x98\x80\xf0\x9f\x98", Utf8Error{4, end}},  // text ends inside a sequence
        {"ab\xe2\x82", Utf8Error{2, end}},
        {"\xc3", Utf8Error{0, end}},
        {"\xe0", Utf8Error{0, end}},
        {"sixteen bytes ok\xc3\xa9 then \xa9", Utf8Error{24, 1}},  // after whole ASCII blocks
        {"0123456789abcdef\xff", Utf8Error{16, 1}},
    };
    for (const Utf8Case& c : cases) {
        EXPECT_EQ(find_utf8_error(c.text), c.fault) << testing::PrintToString(c.text);
    }
}

}  // namespace
}  // namespace ipu_package
