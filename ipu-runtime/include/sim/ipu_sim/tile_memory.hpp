#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <vector>

#include "ipu_exchange/c600_sram.hpp"

namespace ipu_sim {

using ipu_exchange::c600_tile_sram_bytes;

// The value every byte of tile SRAM reads as until something writes it. Not zero,
// so that a lost write cannot pass for a written zero.
inline constexpr std::uint8_t unwritten_sram_fill = 0xA5;

// Size of the unit in which tile SRAM is allocated.
inline constexpr std::uint32_t sram_page_bytes = 4096;

// The SRAM of one tile, allocated page by page on first write. Reads of pages never
// written return unwritten_sram_fill without allocating. Callers check ranges: every
// access must lie within [0, c600_tile_sram_bytes) (asserted, not reported).
class TileMemory {
  public:
    // Told the requested address of an access that the decoder aliased elsewhere.
    using AliasObserver = std::function<void(std::uint32_t address)>;

    // `ignored_address_bits` are cleared from every address before it is decoded
    // (a faulty address decoder); they must lie above the page offset bits.
    explicit TileMemory(std::uint32_t ignored_address_bits = 0, AliasObserver on_alias = {})
        : ignored_address_bits_(ignored_address_bits), on_alias_(std::move(on_alias)) {}

    void read(std::uint32_t address, std::span<std::uint8_t> out) const;
    void write(std::uint32_t address, std::span<const std::uint8_t> data);

    // Bytes of SRAM this tile has allocated so far (a multiple of sram_page_bytes).
    std::size_t resident_bytes() const;

  private:
    using Page = std::array<std::uint8_t, sram_page_bytes>;

    std::uint32_t decoded_page(std::uint32_t address) const;

    std::uint32_t ignored_address_bits_;
    AliasObserver on_alias_;
    std::vector<std::unique_ptr<Page>> pages_;
};

}  // namespace ipu_sim
