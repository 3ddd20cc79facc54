#include "graph_support.hpp"

namespace ipu_graph_runner {

ipu_exchange::ExchangeTransfer transfer(std::uint16_t sender, std::uint32_t source_address,
                                        std::uint32_t length, std::uint16_t receiver,
                                        std::uint32_t receiver_address) {
    return {physical_tile(sender),
            source_address,
            length,
            {{physical_tile(receiver), receiver_address}}};
}

std::vector<std::uint32_t> words_of(std::span<const std::uint8_t> bytes) {
    std::vector<std::uint32_t> words(bytes.size() / 4);
    for (std::size_t i = 0; i < words.size(); ++i) {
        words[i] = std::uint32_t{bytes[4 * i]} | std::uint32_t{bytes[4 * i + 1]} << 8 |
                   std::uint32_t{bytes[4 * i + 2]} << 16 | std::uint32_t{bytes[4 * i + 3]} << 24;
    }
    return words;
}

std::vector<std::uint8_t> bytes_of(std::span<const std::uint32_t> words) {
    std::vector<std::uint8_t> bytes(words.size() * 4);
    for (std::size_t i = 0; i < words.size(); ++i) {
        for (unsigned b = 0; b < 4; ++b) {
            bytes[4 * i + b] = static_cast<std::uint8_t>(words[i] >> (8 * b));
        }
    }
    return bytes;
}

std::vector<std::uint16_t> TilePermutation::senders() const {
    std::vector<std::uint16_t> senders(c600_tile_count);
    for (std::uint16_t tile = 0; tile < c600_tile_count; ++tile) {
        senders[(*this)(tile)] = tile;
    }
    return senders;
}

std::expected<ipu_exchange::ExchangeSchedule, ipu_exchange::ExchangeError> permutation_exchange(
    const TilePermutation& permutation, std::uint32_t send_address, std::uint32_t length,
    std::uint32_t receive_address) {
    std::vector<ipu_exchange::ExchangeTransfer> transfers;
    for (std::uint16_t tile = 0; tile < c600_tile_count; ++tile) {
        transfers.push_back(
            transfer(tile, send_address, length, permutation(tile), receive_address));
    }
    return ipu_exchange::ExchangeSchedule::compile(std::move(transfers));
}

}  // namespace ipu_graph_runner
