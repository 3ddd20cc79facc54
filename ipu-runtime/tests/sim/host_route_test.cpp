#include "ipu_sim/host_route.hpp"

#include <gtest/gtest.h>

#include <vector>

#include "ipu_exchange/topology.hpp"
#include "ipu_sim/device.hpp"

namespace ipu_sim {
namespace {

using ipu_exchange::ExchangeError;

TEST(HostRoute, FieldsOfEveryTileRouteBackToIt) {
    for (std::uint16_t tile = 0; tile < 1472; ++tile) {
        const auto route = route_to_tile(tile);
        ASSERT_TRUE(route.has_value());
        EXPECT_EQ(route->row, tile / 64);
        EXPECT_EQ(route->lane, (tile >> 1) & 1);
        EXPECT_EQ(route->column, tile % 64 & ~2);
        EXPECT_EQ(route_destination(*route), tile);
    }
    EXPECT_EQ(route_to_tile(1472).error(), ExchangeError::Tile{1472});
    EXPECT_EQ(route_to_tile(65535).error(), ExchangeError::Tile{65535});
}

TEST(HostRoute, EachFieldIsDecodedOnItsOwn) {
    const struct {
        TileRoute route;
        std::expected<std::uint16_t, ExchangeError> expected;
    } cases[] = {
        {{0, 0, 0}, 0},
        {{0, 0, 1}, 2},
        {{0, 1, 0}, 1},
        {{0, 61, 1}, 63},
        {{22, 0, 0}, 1408},
        {{22, 61, 1}, 1471},
        {{23, 0, 0}, std::unexpected(ExchangeError::HostPacket{})},
        {{31, 0, 0}, std::unexpected(ExchangeError::HostPacket{})},
        {{0, 2, 0}, std::unexpected(ExchangeError::HostPacket{})},
        {{0, 64, 0}, std::unexpected(ExchangeError::HostPacket{})},
        {{0, 0, 2}, std::unexpected(ExchangeError::HostPacket{})},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(route_destination(c.route), c.expected)
            << int{c.route.row} << "/" << int{c.route.column} << "/" << int{c.route.lane};
    }
}

// Tiles that between them take every row, every column bit and both lanes; each
// gets its own bytes, so a packet routed to the wrong tile shows up.
TEST(HostRoute, DeviceDeliversToEveryFieldValue) {
    std::vector<std::uint16_t> tiles;
    for (std::uint16_t low = 0; low < 64; ++low) {
        tiles.push_back(low);
    }
    for (std::uint16_t row = 1; row < 23; ++row) {
        tiles.push_back(static_cast<std::uint16_t>(row * 64 + 17));
    }
    Device device;
    for (const std::uint16_t tile : tiles) {
        const std::vector<std::uint8_t> bytes(300, static_cast<std::uint8_t>(tile * 7 + 1));
        ASSERT_TRUE(device.host_write(tile, 1000, bytes).has_value());
    }
    device.fence();
    for (const std::uint16_t tile : tiles) {
        const auto read = device.host_read(tile, 1000, 300);
        ASSERT_TRUE(read.has_value());
        EXPECT_EQ(*read, std::vector<std::uint8_t>(300, static_cast<std::uint8_t>(tile * 7 + 1)))
            << "tile " << tile;
    }
}

}  // namespace
}  // namespace ipu_sim
