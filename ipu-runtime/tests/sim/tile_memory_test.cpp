#include "ipu_sim/tile_memory.hpp"

#include <gtest/gtest.h>

#include <numeric>
#include <vector>

#include "ipu_sim/device.hpp"

namespace ipu_sim {
namespace {

std::vector<std::uint8_t> counting(std::size_t length, std::uint8_t first) {
    std::vector<std::uint8_t> bytes(length);
    std::iota(bytes.begin(), bytes.end(), first);
    return bytes;
}

TEST(TileMemory, UnwrittenBytesReadAsTheFillWithoutAllocating) {
    TileMemory memory;
    std::vector<std::uint8_t> out(c600_tile_sram_bytes, 0);
    memory.read(0, out);
    EXPECT_EQ(out, std::vector<std::uint8_t>(c600_tile_sram_bytes, unwritten_sram_fill));
    EXPECT_NE(unwritten_sram_fill, 0);
    EXPECT_EQ(memory.resident_bytes(), 0u);
}

TEST(TileMemory, WriteAcrossPagesAllocatesOnlyThosePages) {
    TileMemory memory;
    const auto data = counting(6000, 1);
    memory.write(sram_page_bytes - 10, data);  // touches pages 0, 1 and 2
    EXPECT_EQ(memory.resident_bytes(), 3 * sram_page_bytes);

    std::vector<std::uint8_t> around(6020);
    memory.read(sram_page_bytes - 20, around);
    for (std::size_t i = 0; i < around.size(); ++i) {
        const bool written = i >= 10 && i < 6010;
        EXPECT_EQ(around[i], written ? data[i - 10] : unwritten_sram_fill) << "offset " << i;
    }
}

TEST(TileMemory, LastByteOfSramIsUsable) {
    TileMemory memory;
    const std::vector<std::uint8_t> last{0x42};
    memory.write(c600_tile_sram_bytes - 1, last);
    std::vector<std::uint8_t> out(1);
    memory.read(c600_tile_sram_bytes - 1, out);
    EXPECT_EQ(out, last);
}

TEST(TileMemory, IgnoredAddressBitAliasesHighOntoLow) {
    TileMemory memory(1u << 18);
    const auto data = counting(16, 9);
    memory.write(0x40000 + 100, data);
    std::vector<std::uint8_t> low(16);
    memory.read(100, low);
    EXPECT_EQ(low, data);
}

TEST(TileMemory, AllTilesWithAFewKibStayFarBelowTheRunnerBudget) {
    Device device;
    const auto data = counting(3000, 0);
    for (std::uint16_t tile = 0; tile < 1472; ++tile) {
        ASSERT_TRUE(device.host_write(tile, 0x60000, data).has_value());
    }
    EXPECT_EQ(device.resident_bytes(), 1472u * sram_page_bytes);
    EXPECT_LT(device.resident_bytes(), 16u << 20);
}

}  // namespace
}  // namespace ipu_sim
