#include <gtest/gtest.h>

#include <algorithm>

#include "cases/host_route_coverage.hpp"
#include "cases/randomized_scenarios.hpp"
#include "ipu_text/hex_text.hpp"
#include "registry.hpp"

namespace hardware_suite {
namespace {

TEST(HostRouteTiles, SpanEveryEndpointFieldThroughTheTopology) {
    const std::string expected =
        "0,90,1,91,92,182,93,183,184,274,185,275,276,366,277,367,368,458,369,459,460,550,461,551,"
        "552,642,553,643,644,734,645,735,736,826,737,827,828,918,829,919,920,1010,921,1011,1012,"
        "1102,1013,1103,1104,1194,1105,1195,1196,1286,1197,1287,1288,1378,1289,1379,1380,1470,"
        "1381,1471,456,454,452,450,448,446,444,442,440,438,436,434,432,430,428,426,424,422,420,"
        "418,416,414";
    EXPECT_EQ(expected.size(), 357u);
    EXPECT_EQ(host_route_tiles(), expected);
}

TEST(HostRoundTripTiles, SeedsYieldTheirEightDistinctTilesInAscendingOrder) {
    const struct {
        std::uint64_t seed;
        std::string_view tiles;
    } rows[] = {
        {0x243f6a8885a308d3ull, "34,71,144,956,1104,1157,1243,1300"},
        {0x13198a2e03707344ull, "11,19,108,451,536,647,846,958"},
        {0xa4093822299f31d0ull, "19,82,416,602,829,893,1065,1187"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(host_round_trip_tiles(row.seed), row.tiles) << ipu_text::hex_text(row.seed);
    }
}

TEST(Registry, NamesAreUniqueAndInAscendingByteOrder) {
    const auto& cases = registry();
    ASSERT_FALSE(cases.empty());
    for (std::size_t index = 1; index < cases.size(); ++index) {
        EXPECT_LT(cases[index - 1].name, cases[index].name);
    }
}

}  // namespace
}  // namespace hardware_suite
