#include <gtest/gtest.h>

#include <vector>

#include "ipu_sim/device.hpp"

namespace ipu_sim {
namespace {

using ipu_exchange::ExchangeError;

std::vector<std::uint8_t> pattern(std::size_t length, unsigned seed) {
    std::vector<std::uint8_t> bytes(length);
    for (std::size_t i = 0; i < length; ++i) {
        bytes[i] = static_cast<std::uint8_t>((i * 131 + seed * 17 + (i >> 8)) ^ 0x3C);
    }
    return bytes;
}

// A program with one codelet that copies `length` bytes of `tile` from `from` to `to`.
Program copy_program(std::uint16_t tile, std::uint32_t from, std::uint32_t to,
                     std::uint32_t length) {
    Codelet copy{
        .kernel = "Copy",
        .tile = tile,
        .inputs = {{from, length}},
        .outputs = {{to, length}},
        .cost_class = CostClass::Copy,
        .work = length,
        .body =
            [=](TileView& view) {
                const auto bytes = view.read<std::uint8_t>(from, length);
                view.write<std::uint8_t>(to, bytes);
            },
    };
    Program program;
    program.supersteps.push_back(Superstep{.operation = "copy", .compute = {copy}});
    return program;
}

TEST(DeviceHost, RoundTripsManyPacketsAtAHighAddress) {
    Device device;
    const auto data = pattern(65536, 1);
    ASSERT_TRUE(device.host_write(100, 0x60000, data).has_value());
    device.fence();
    EXPECT_EQ(device.host_read(100, 0x60000, 65536), data);
    EXPECT_EQ(device.host_read(100, 0x60000 - 4, 4), std::vector<std::uint8_t>(4, 0xA5));
}

TEST(DeviceHost, RefusesTransfersOutsideTilesOrSram) {
    const std::uint32_t sram = c600_tile_sram_bytes;
    const struct {
        std::uint16_t tile;
        std::uint32_t address;
        std::size_t length;
        ExchangeError expected;
    } cases[] = {
        {1472, 0, 4, ExchangeError::Tile{1472}},
        {65535, 0, 4, ExchangeError::Tile{65535}},
        {0, sram, 1, ExchangeError::Address{sram}},
        {0, sram - 3, 4, ExchangeError::Address{sram - 3}},
        {0, 0xFFFFFFFF, 2, ExchangeError::Address{0xFFFFFFFF}},
        {0, 0, sram + 1, ExchangeError::Address{0}},
    };
    for (const auto& c : cases) {
        Device device;
        const std::vector<std::uint8_t> data(c.length, 1);
        EXPECT_EQ(device.host_write(c.tile, c.address, data).error(), c.expected);
        std::vector<std::uint8_t> out(c.length, 7);
        EXPECT_EQ(device.host_read(c.tile, c.address, out).error(), c.expected);
        EXPECT_EQ(out, std::vector<std::uint8_t>(c.length, 7)) << "output touched on error";
        EXPECT_EQ(device.resident_bytes(), 0u) << "a refused write must write nothing";
    }
    Device device;
    EXPECT_TRUE(device.host_write(0, sram - 4, pattern(4, 2)).has_value());
    EXPECT_TRUE(device.host_write(0, sram, {}).has_value());
}

TEST(DeviceHost, JitteredWritesNeedAFenceBeforeAProgramOrARead) {
    const auto data = pattern(4096, 3);
    DeviceConfig config{.jitter = {.max_us = 50, .seed = 7}};
    {
        Device device(config);
        ASSERT_TRUE(device.host_write(9, 0, data).has_value());
        ASSERT_TRUE(device.run(copy_program(9, 0, 8192, 4096)).has_value());
        device.fence();
        EXPECT_EQ(device.host_read(9, 0, 4096), data) << "every packet lands in the end";
        EXPECT_NE(device.host_read(9, 8192, 4096), data) << "the program ran before they landed";
    }
    {
        Device device(config);
        ASSERT_TRUE(device.host_write(9, 0, data).has_value());
        EXPECT_NE(device.host_read(9, 0, 4096), data) << "a read does not wait for writes";
    }
    {
        Device device(config);
        ASSERT_TRUE(device.host_write(9, 0, data).has_value());
        const std::uint64_t before = device.host_time_ns();
        device.fence();
        EXPECT_GT(device.host_time_ns(), before);
        ASSERT_TRUE(device.run(copy_program(9, 0, 8192, 4096)).has_value());
        EXPECT_EQ(device.host_read(9, 8192, 4096), data);
    }
}

TEST(DeviceHost, LaterWriteWinsOnceBothHaveLanded) {
    Device device(DeviceConfig{.jitter = {.max_us = 20, .seed = 11}});
    ASSERT_TRUE(device.host_write(3, 0, pattern(256, 4)).has_value());
    device.fence();
    ASSERT_TRUE(device.host_write(3, 0, pattern(256, 5)).has_value());
    device.fence();
    EXPECT_EQ(device.host_read(3, 0, 256), pattern(256, 5));
}

TEST(DeviceHost, SameJitterSeedGivesTheSameLandings) {
    const auto landed_bytes = [](std::uint64_t seed) {
        Device device(DeviceConfig{.jitter = {.max_us = 30, .seed = seed}});
        for (unsigned round = 0; round < 4; ++round) {
            EXPECT_TRUE(device.host_write(1, 0, pattern(2048, round)).has_value());
        }
        EXPECT_TRUE(device.run(copy_program(1, 0, 4096, 2048)).has_value());
        return std::pair(device.host_read(1, 4096, 2048).value(), device.host_time_ns());
    };
    EXPECT_EQ(landed_bytes(5), landed_bytes(5));
    EXPECT_NE(landed_bytes(5).first, landed_bytes(6).first);
}

TEST(DeviceHost, TilesSendDisjointRangesOfOneHostBuffer) {
    Device device;
    const std::uint16_t tiles[] = {63, 274, 1471};
    for (unsigned i = 0; i < 3; ++i) {
        ASSERT_TRUE(device.host_write(tiles[i], 512, pattern(64, i)).has_value());
    }
    device.fence();
    const HostBufferId buffer = device.create_host_buffer(3 * 64 + 8);
    Superstep step{.operation = "d2h"};
    for (unsigned i = 0; i < 3; ++i) {
        step.host_sends.push_back({tiles[i], 512, 64, buffer, 64 * (2 - i)});
    }
    ASSERT_TRUE(device.run(Program{{step}}).has_value());
    const auto host = device.host_buffer(buffer);
    for (unsigned i = 0; i < 3; ++i) {
        const auto part = host.subspan(64 * (2 - i), 64);
        EXPECT_EQ(std::vector<std::uint8_t>(part.begin(), part.end()), pattern(64, i));
    }
    EXPECT_EQ(host[192], unwritten_host_fill);
    EXPECT_TRUE(device.host_buffer(HostBufferId{9}).empty());
}

}  // namespace
}  // namespace ipu_sim
