#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "device_state.hpp"
#include "ipu_sim/program.hpp"

namespace ipu_sim {

// Bytes that one transfer sends in place of the sender's phase-start memory.
struct StaleSend {
    std::size_t transfer;
    std::vector<std::uint8_t> bytes;
};

// Under the skipped-sync fault, before the compute phase of `step`: the source bytes
// of the first transfer whose sender computes into its source range in the same
// superstep, as they are before that compute. nullopt otherwise.
std::optional<StaleSend> capture_skipped_sync(DeviceState& state, const Superstep& step);

// Moves the data of the exchange phase of `step`: every transfer and every host send
// reads its source as it is when the phase starts, then all copies land.
void move_exchange_data(DeviceState& state, const Superstep& step,
                        const std::optional<StaleSend>& stale);

// What one tile does in an exchange phase: busy from the phase start until `end`
// (cycles from the phase start; 0 for a tile that takes no part).
struct ExchangeActivity {
    std::uint64_t end = 0;
    std::uint64_t bytes_sent = 0;
    std::uint64_t bytes_received = 0;
};

// Cycles a tile spends on one send to the host, after its tile exchange.
inline constexpr std::uint64_t host_send_latency_cycles = 100;

// Each tile's activity in the exchange phase of `step` (indexed by physical tile):
// its sends and receives at their compiled slots, then its host sends one after
// another.
std::vector<ExchangeActivity> exchange_activity(const Superstep& step);

}  // namespace ipu_sim
