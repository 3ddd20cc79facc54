#include "ipu_text/tile_list.hpp"

#include <gtest/gtest.h>

#include <vector>

namespace ipu_text {
namespace {

TEST(TileList, JoinsDecimalNumbersInTheirOrderWithCommas) {
    const struct {
        std::vector<std::uint16_t> tiles;
        std::string_view list;
    } cases[] = {
        {{}, ""},
        {{0}, "0"},
        {{1471, 274}, "1471,274"},
        {{34, 71, 144, 956, 1104, 1157, 1243, 1300}, "34,71,144,956,1104,1157,1243,1300"},
        {{65535, 0, 0}, "65535,0,0"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(tile_list(c.tiles), c.list);
    }
}

}  // namespace
}  // namespace ipu_text
