#include "ipu_sim/tile_memory.hpp"

#include <algorithm>
#include <cassert>

namespace ipu_sim {
namespace {

constexpr std::uint32_t page_count = c600_tile_sram_bytes / sram_page_bytes;
static_assert(c600_tile_sram_bytes % sram_page_bytes == 0);

}  // namespace

std::uint32_t TileMemory::decoded_page(std::uint32_t address) const {
    if ((address & ignored_address_bits_) != 0 && on_alias_) {
        on_alias_(address);
    }
    return (address & ~ignored_address_bits_) / sram_page_bytes;
}

void TileMemory::read(std::uint32_t address, std::span<std::uint8_t> out) const {
    assert(address <= c600_tile_sram_bytes && out.size() <= c600_tile_sram_bytes - address);
    std::size_t done = 0;
    while (done < out.size()) {
        const auto at = static_cast<std::uint32_t>(address + done);
        const std::uint32_t offset = at % sram_page_bytes;
        const std::size_t chunk =
            std::min<std::size_t>(sram_page_bytes - offset, out.size() - done);
        const std::uint32_t page = decoded_page(at);
        std::uint8_t* target = out.data() + done;
        if (page < pages_.size() && pages_[page]) {
            std::copy_n(pages_[page]->data() + offset, chunk, target);
        } else {
            std::fill_n(target, chunk, unwritten_sram_fill);
        }
        done += chunk;
    }
}

void TileMemory::write(std::uint32_t address, std::span<const std::uint8_t> data) {
    assert(address <= c600_tile_sram_bytes && data.size() <= c600_tile_sram_bytes - address);
    std::size_t done = 0;
    while (done < data.size()) {
        const auto at = static_cast<std::uint32_t>(address + done);
        const std::uint32_t offset = at % sram_page_bytes;
        const std::size_t chunk =
            std::min<std::size_t>(sram_page_bytes - offset, data.size() - done);
        const std::uint32_t page = decoded_page(at);
        if (pages_.empty()) {
            pages_.resize(page_count);
        }
        if (!pages_[page]) {
            pages_[page] = std::make_unique<Page>();
            pages_[page]->fill(unwritten_sram_fill);
        }
        std::copy_n(data.data() + done, chunk, pages_[page]->data() + offset);
        done += chunk;
    }
}

std::size_t TileMemory::resident_bytes() const {
    return static_cast<std::size_t>(std::count_if(
               pages_.begin(), pages_.end(), [](const auto& page) { return page != nullptr; })) *
           sram_page_bytes;
}

}  // namespace ipu_sim
