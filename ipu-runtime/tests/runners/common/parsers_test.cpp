#include "ipu_runner/parsers.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

namespace ipu_runner {
namespace {

constexpr std::uint64_t u64_max = std::numeric_limits<std::uint64_t>::max();

struct NumberCase {
    std::string_view text;
    std::uint64_t max;
    std::optional<std::uint64_t> decimal;  // nothing: refused
    std::optional<std::uint64_t> number;   // nothing: refused
};

TEST(Parsers, DecimalAndNumberTable) {
    const NumberCase cases[] = {
        {"0", 10, 0, 0},
        {"8192", 65536, 8192, 8192},
        {"65536", 65536, 65536, 65536},
        {"65537", 65536, {}, {}},
        {"18446744073709551615", u64_max, u64_max, u64_max},
        {"18446744073709551616", u64_max, {}, {}},
        {"99999999999999999999999", u64_max, {}, {}},
        {"0x60000", 638976, {}, 0x60000},
        {"0x0", 10, {}, 0},
        {"0xAbC", 5000, {}, 0xabc},
        {"0x00060000", 638976, {}, 0x60000},
        {"0xffffffffffffffff", u64_max, {}, u64_max},
        {"0x10000000000000000", u64_max, {}, {}},
        {"0X60000", 638976, {}, {}},
        {"0x", 10, {}, {}},
        {"0xg", 10, {}, {}},
        {"", 10, {}, {}},
        {"007", 10, {}, {}},
        {"00", 10, {}, {}},
        {"+5", 10, {}, {}},
        {"-1", 10, {}, {}},
        {" 5", 10, {}, {}},
        {"5 ", 10, {}, {}},
        {"5\n", 10, {}, {}},
        {"1e3", 5000, {}, {}},
        {"12x", 100, {}, {}},
        {std::string_view("4\0"
                          "2",
                          3),
         100,
         {},
         {}},
        {"\xff", 100, {}, {}},
    };
    for (const NumberCase& c : cases) {
        const auto decimal = parse_decimal(c.text, c.max);
        const auto number = parse_number(c.text, c.max);
        EXPECT_EQ(decimal ? std::optional(*decimal) : std::nullopt, c.decimal)
            << "decimal \"" << c.text << "\"";
        EXPECT_EQ(number ? std::optional(*number) : std::nullopt, c.number)
            << "number \"" << c.text << "\"";
    }
}

TEST(Parsers, RefusalsSayWhy) {
    EXPECT_EQ(parse_decimal("", 9).error(), "empty");
    EXPECT_EQ(parse_decimal("12", 9).error(), "above the largest allowed value 9");
    EXPECT_EQ(parse_decimal("012", 99).error(), "written with a leading zero");
    EXPECT_EQ(parse_decimal("1a", 99).error(), "not an unsigned decimal number");
    EXPECT_EQ(parse_number("0x1z", 99).error(), "not a hexadecimal number after 0x");
    EXPECT_EQ(parse_tile_list("1,,2").error(), "entry 2 is empty");
    EXPECT_EQ(parse_tile_list("1,1472").error(), "entry 2 is above the largest allowed value 1471");
    EXPECT_EQ(parse_tile_list("5,6,5").error(), "tile 5 appears twice");
}

TEST(Parsers, SwitchAcceptsOnlyOneAndZero) {
    EXPECT_EQ(parse_switch("1"), true);
    EXPECT_EQ(parse_switch("0"), false);
    for (const std::string_view text : {"", "yes", "true", "01", "1 ", "2", "on"}) {
        EXPECT_FALSE(parse_switch(text).has_value()) << '"' << text << '"';
    }
}

TEST(Parsers, TileRange) {
    EXPECT_EQ(parse_tile("0"), 0);
    EXPECT_EQ(parse_tile("1471"), 1471);
    EXPECT_FALSE(parse_tile("1472").has_value());
    EXPECT_FALSE(parse_tile("65536").has_value());
}

TEST(Parsers, TileListTable) {
    const struct {
        std::string_view text;
        std::optional<std::vector<std::uint16_t>> tiles;
    } cases[] = {
        {"1471,274", std::vector<std::uint16_t>{1471, 274}},
        {"0", std::vector<std::uint16_t>{0}},
        {"34,71,144,956,1104,1157,1243,1300",
         std::vector<std::uint16_t>{34, 71, 144, 956, 1104, 1157, 1243, 1300}},
        {"", {}},
        {",", {}},
        {"1,", {}},
        {",1", {}},
        {"1, 2", {}},
        {"1;2", {}},
        {"1,01", {}},
        {"3,3", {}},
        {"1472", {}},
    };
    for (const auto& c : cases) {
        const auto tiles = parse_tile_list(c.text);
        EXPECT_EQ(tiles ? std::optional(*tiles) : std::nullopt, c.tiles) << '"' << c.text << '"';
    }
}

TEST(Parsers, TileListTakesEveryTileOnce) {
    std::string all;
    for (int tile = 1471; tile >= 0; --tile) {
        all += std::to_string(tile) + (tile > 0 ? "," : "");
    }
    const auto tiles = parse_tile_list(all);
    ASSERT_TRUE(tiles.has_value());
    ASSERT_EQ(tiles->size(), 1472u);
    EXPECT_EQ(tiles->front(), 1471);
    EXPECT_EQ(tiles->back(), 0);
}

}  // namespace
}  // namespace ipu_runner
