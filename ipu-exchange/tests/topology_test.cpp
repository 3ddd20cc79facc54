#include "ipu_exchange/topology.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>

namespace ipu_exchange {
namespace {

TEST(C600Mapping, TellingRows) {
    const struct {
        std::uint16_t logical;
        std::uint16_t physical;
    } rows[] = {
        {0, 0},  {1, 2},  {2, 64}, {3, 66}, {44, 1408},   {45, 1410}, {46, 1409}, {47, 1411},
        {90, 1}, {91, 3}, {92, 4}, {93, 6}, {1426, 1469}, {1470, 61}, {1471, 63},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(c600_logical_to_physical(row.logical), row.physical) << "logical " << row.logical;
    }
}

TEST(C600Mapping, IsDefinedForEverySixteenBitInput) {
    EXPECT_EQ(c600_logical_to_physical(1472), 64);
    EXPECT_EQ(c600_logical_to_physical(65535), 3810);
    for (unsigned logical = 0; logical <= 65535; ++logical) {
        ASSERT_LE(c600_logical_to_physical(static_cast<std::uint16_t>(logical)), 4255);
    }
}

TEST(C600Grid, RowsOfSixtyFourPositionsFromThePhysicalNumber) {
    EXPECT_EQ(c600_rows * c600_row_positions, c600_tile_count);
    const struct {
        std::uint16_t physical;
        std::uint16_t row;
        std::uint16_t position;
    } tiles[] = {{0, 0, 0},     {63, 0, 63},    {64, 1, 0},
                 {1409, 22, 1}, {1471, 22, 63}, {65535, 1023, 63}};
    for (const auto& tile : tiles) {
        EXPECT_EQ(c600_row(tile.physical), tile.row) << tile.physical;
        EXPECT_EQ(c600_row_position(tile.physical), tile.position) << tile.physical;
    }
}

TEST(Topology, C600TableIsAPermutationOfAllTiles) {
    const Topology topology = Topology::c600();
    ASSERT_EQ(topology.logical_to_physical.size(), 1472u);
    std::vector<std::uint16_t> sorted = topology.logical_to_physical;
    std::sort(sorted.begin(), sorted.end());
    std::vector<std::uint16_t> all(1472);
    std::iota(all.begin(), all.end(), std::uint16_t{0});
    EXPECT_EQ(sorted, all);
    for (std::uint16_t logical = 0; logical < 1472; ++logical) {
        ASSERT_EQ(topology.logical_to_physical[logical], c600_logical_to_physical(logical));
    }
}

TEST(Topology, LookupRejectsNumbersOutsideTheTable) {
    const Topology topology = Topology::c600();
    EXPECT_EQ(topology.physical(1471), 63);
    EXPECT_EQ(topology.physical(0), 0);
    for (const std::uint16_t outside : {std::uint16_t{1472}, std::uint16_t{65535}}) {
        const auto result = topology.physical(outside);
        ASSERT_FALSE(result.has_value());
        EXPECT_EQ(result.error(), ExchangeError(ExchangeError::Tile{outside}));
    }
    EXPECT_EQ(topology.physical(1472).error().debug(), "Tile(1472)");
    EXPECT_EQ(topology.physical(45), 1410) << "the table is unchanged after a failed lookup";
}

}  // namespace
}  // namespace ipu_exchange
