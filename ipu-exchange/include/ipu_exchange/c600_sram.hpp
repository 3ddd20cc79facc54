#pragma once

#include <cstdint>

namespace ipu_exchange {

// Bytes of private SRAM on every C600 tile (624 KiB). Valid tile addresses are
// 0 to c600_tile_sram_bytes - 1.
inline constexpr std::uint32_t c600_tile_sram_bytes = 638'976;

}  // namespace ipu_exchange
