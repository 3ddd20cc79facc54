#pragma once

#include <cstdint>
#include <expected>
#include <span>
#include <vector>

#include "ipu_exchange/exchange_schedule.hpp"
#include "ipu_exchange/topology.hpp"
#include "ipu_runner/physical_tile.hpp"

namespace ipu_graph_runner {

using ipu_exchange::c600_tile_count;
// Graphs are written in logical tile numbers.
using ipu_runner::physical_tile;

// A point-to-point transfer between logical tiles.
ipu_exchange::ExchangeTransfer transfer(std::uint16_t sender, std::uint32_t source_address,
                                        std::uint32_t length, std::uint16_t receiver,
                                        std::uint32_t receiver_address);

// Little-endian 32-bit words of `bytes` (a multiple of 4 long), and back.
std::vector<std::uint32_t> words_of(std::span<const std::uint8_t> bytes);
std::vector<std::uint8_t> bytes_of(std::span<const std::uint32_t> words);

// A fixed permutation of all 1472 logical tiles, t -> (t * multiplier + offset)
// mod 1472. The multiplier must be odd and not a multiple of 23 (so the map is
// one-to-one); an odd offset leaves no tile in place.
class TilePermutation {
  public:
    constexpr TilePermutation(std::uint32_t multiplier, std::uint32_t offset)
        : multiplier_(multiplier), offset_(offset) {}

    constexpr std::uint16_t operator()(std::uint16_t tile) const {
        return static_cast<std::uint16_t>((tile * multiplier_ + offset_) % c600_tile_count);
    }

    // senders()[t] is the tile that sends to tile t.
    std::vector<std::uint16_t> senders() const;

  private:
    std::uint32_t multiplier_;
    std::uint32_t offset_;
};

// One exchange phase in which every tile sends its `length` bytes at
// `send_address` to tile permutation(tile) at `receive_address`.
std::expected<ipu_exchange::ExchangeSchedule, ipu_exchange::ExchangeError> permutation_exchange(
    const TilePermutation& permutation, std::uint32_t send_address, std::uint32_t length,
    std::uint32_t receive_address);

}  // namespace ipu_graph_runner
