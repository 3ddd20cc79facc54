#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <optional>

#include "ipu_exchange/c600_sram.hpp"
#include "ipu_exchange/topology.hpp"

namespace ipu_exchange {
namespace {

std::optional<ExchangeError> error_of(const std::expected<void, ExchangeError>& checked) {
    return checked ? std::nullopt : std::optional(checked.error());
}

TEST(C600Checks, TileNumbersBelowTheTileCountPass) {
    EXPECT_EQ(c600_tile_count, 1472);
    EXPECT_EQ(error_of(check_c600_tile(0)), std::nullopt);
    EXPECT_EQ(error_of(check_c600_tile(1471)), std::nullopt);
    EXPECT_EQ(error_of(check_c600_tile(1472)), ExchangeError(ExchangeError::Tile{1472}));
    EXPECT_EQ(error_of(check_c600_tile(65535)), ExchangeError(ExchangeError::Tile{65535}));
}

TEST(C600Checks, SramRangesMustEndByTheEndOfSram) {
    constexpr std::uint32_t sram = c600_tile_sram_bytes;
    const struct {
        std::uint32_t address;
        std::uint64_t length;
        bool fits;
    } cases[] = {
        {0, sram, true},
        {sram - 1, 1, true},
        {sram, 0, true},
        {0, 0, true},
        {sram - 1, 2, false},
        {0, sram + 1ull, false},
        {sram + 1, 0, false},
        // Sums that would wrap in 32 or 64 bits are refused, not wrapped.
        {0xFFFFFFFF, 4, false},
        {16, std::numeric_limits<std::uint64_t>::max() - 8, false},
    };
    for (const auto& c : cases) {
        const auto error = error_of(check_c600_sram_range(c.address, c.length));
        if (c.fits) {
            EXPECT_EQ(error, std::nullopt) << c.address << " + " << c.length;
        } else {
            EXPECT_EQ(error, ExchangeError(ExchangeError::Address{c.address}))
                << c.address << " + " << c.length;
        }
    }
}

}  // namespace
}  // namespace ipu_exchange
