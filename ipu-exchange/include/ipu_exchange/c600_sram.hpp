#pragma once

#include <cstdint>
#include <expected>

#include "ipu_exchange/exchange_error.hpp"

namespace ipu_exchange {

// Bytes of private SRAM on every C600 tile (624 KiB). Valid tile addresses are
// 0 to c600_tile_sram_bytes - 1.
inline constexpr std::uint32_t c600_tile_sram_bytes = 638'976;

// Nothing when the `length` bytes from `address` on all lie in a tile's SRAM,
// Address(address) otherwise. An empty range fits at any address up to
// c600_tile_sram_bytes.
inline std::expected<void, ExchangeError> check_c600_sram_range(std::uint32_t address,
                                                                std::uint64_t length) {
    if (address > c600_tile_sram_bytes || length > c600_tile_sram_bytes - address) {
        return std::unexpected(ExchangeError::Address{address});
    }
    return {};
}

}  // namespace ipu_exchange
