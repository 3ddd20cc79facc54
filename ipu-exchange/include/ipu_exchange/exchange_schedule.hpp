#pragma once

#include <cstdint>
#include <expected>
#include <span>
#include <vector>

#include "ipu_exchange/exchange_error.hpp"

namespace ipu_exchange {

// One destination of a transfer: a physical tile and the address its copy lands at.
struct ExchangeReceiver {
    std::uint16_t tile;
    std::uint32_t address;

    friend bool operator==(const ExchangeReceiver&, const ExchangeReceiver&) = default;
};

// One static transfer of an exchange phase: `length` bytes read from the sender's
// memory at `source_address` and written to every receiver (one receiver is a
// point-to-point copy, several are a multicast). Tiles are physical numbers.
struct ExchangeTransfer {
    std::uint16_t sender;
    std::uint32_t source_address;
    std::uint32_t length;
    std::vector<ExchangeReceiver> receivers;

    friend bool operator==(const ExchangeTransfer&, const ExchangeTransfer&) = default;
};

// A validated transfer with its compiler-assigned slot. Cycles count from the start
// of the exchange phase. The sender's port is busy for [start_cycle, start_cycle +
// send_cycles); receiver r holds its copy at start_cycle +
// exchange_latency_cycles(sender, r) + send_cycles; end_cycle is the latest of those.
struct TimedTransfer {
    ExchangeTransfer transfer;
    std::uint32_t start_cycle;
    std::uint32_t send_cycles;
    std::uint32_t end_cycle;
};

// Timing model of the tile exchange fabric, shared by the compiler and the device.
inline constexpr std::uint32_t exchange_bytes_per_cycle = 4;
inline constexpr std::uint32_t exchange_base_latency_cycles = 12;

// Cycles from the moment a sender starts a transfer until its first byte reaches
// `receiver`: the base latency plus one cycle per row and one per physical column
// position (bits 0 to 5 of the tile number) between the two tiles. Pure; defined
// for every pair of 16-bit numbers.
std::uint32_t exchange_latency_cycles(std::uint16_t sender, std::uint16_t receiver);

// Cycles a port is busy moving `length` bytes: length / exchange_bytes_per_cycle,
// rounded up. A multicast costs the sender this once, whatever its receiver count.
std::uint32_t exchange_send_cycles(std::uint32_t length);

// The compiled schedule of ONE exchange phase: every transfer checked and given a
// cycle slot. Immutable once built; a default-constructed schedule is an empty
// phase.
//
// Semantics the device implements: every send reads the sender's memory as it was
// when the phase started, so a tile may receive into a range it also sends from in
// the same phase (it sends the old bytes, and holds the new ones afterwards).
class ExchangeSchedule {
  public:
    ExchangeSchedule() = default;

    // Checks `transfers` and assigns slots in list order. Each transfer starts at
    // the earliest cycle at which its sender's port is free and each receiver's
    // port is free by the time the data arrives there; the slot depends only on
    // the list, so compiling the same list always gives the same schedule.
    //
    // Errors, for the first offending transfer in list order, checked in this order:
    // - Tile(n): the sender or a receiver is not a C600 physical tile (n >= 1472).
    // - Count(length): the length is 0 or larger than a tile's SRAM.
    // - Address(a): the source range, or a receiver's range, does not fit in SRAM;
    //   `a` is that range's start address.
    // - ReceiverSet: no receivers, or the sender is among its own receivers.
    // - DuplicateTile: one receiver tile is named twice in the transfer.
    // Then, over the whole phase:
    // - Schedule("overlapping receiver writes in one phase"): two transfers write
    //   overlapping bytes of one tile.
    // - Schedule("exchange phase exceeds the cycle counter"): the phase would last
    //   2^32 cycles or more.
    static std::expected<ExchangeSchedule, ExchangeError> compile(
        std::vector<ExchangeTransfer> transfers);

    // The transfers in their original order, each with its slot.
    std::span<const TimedTransfer> transfers() const { return transfers_; }

    // Cycles from the start of the phase until the last receiver holds its copy
    // (0 for an empty phase).
    std::uint32_t cycles() const { return cycles_; }

    bool empty() const { return transfers_.empty(); }

  private:
    std::vector<TimedTransfer> transfers_;
    std::uint32_t cycles_ = 0;
};

}  // namespace ipu_exchange
