#include "ipu_profile/tile_position.hpp"

#include <gtest/gtest.h>

#include <ipu_exchange/topology.hpp>

namespace ipu_profile {
namespace {

TEST(TilePosition, RowsOfSixtyFourFromThePhysicalNumber) {
    EXPECT_EQ(tile_position(0).row, 0u);
    EXPECT_EQ(tile_position(63).column, 63u);
    EXPECT_EQ(tile_position(64).row, 1u);
    EXPECT_EQ(tile_position(64).column, 0u);
    EXPECT_EQ(tile_position(1471).row, 22u);
    EXPECT_TRUE(on_chip(1471));
    EXPECT_FALSE(on_chip(1472));
}

TEST(TilePosition, LogicalNumberInvertsTheC600Mapping) {
    for (std::uint16_t logical = 0; logical < ipu_exchange::c600_tile_count; ++logical) {
        ASSERT_EQ(c600_logical_tile(ipu_exchange::c600_logical_to_physical(logical)), logical);
    }
    EXPECT_EQ(c600_logical_tile(1472), std::nullopt);
    EXPECT_EQ(c600_logical_tile(0xffffffffu), std::nullopt);
}

}  // namespace
}  // namespace ipu_profile
