#include "ipu_exchange/exchange_schedule.hpp"

#include <algorithm>
#include <bitset>
#include <cstdlib>
#include <limits>

#include "ipu_exchange/c600_sram.hpp"
#include "ipu_exchange/disjoint_ranges.hpp"
#include "ipu_exchange/topology.hpp"

namespace ipu_exchange {
namespace {

constexpr std::string_view overlapping_writes = "overlapping receiver writes in one phase";
constexpr std::string_view phase_too_long = "exchange phase exceeds the cycle counter";

// The checks of one transfer on its own, in the documented order.
std::expected<void, ExchangeError> check_transfer(const ExchangeTransfer& transfer) {
    if (auto ok = check_c600_tile(transfer.sender); !ok) {
        return ok;
    }
    for (const ExchangeReceiver& receiver : transfer.receivers) {
        if (auto ok = check_c600_tile(receiver.tile); !ok) {
            return ok;
        }
    }
    if (transfer.length == 0 || transfer.length > c600_tile_sram_bytes) {
        return std::unexpected(ExchangeError::Count{transfer.length});
    }
    if (auto ok = check_c600_sram_range(transfer.source_address, transfer.length); !ok) {
        return ok;
    }
    for (const ExchangeReceiver& receiver : transfer.receivers) {
        if (auto ok = check_c600_sram_range(receiver.address, transfer.length); !ok) {
            return ok;
        }
    }
    if (transfer.receivers.empty()) {
        return std::unexpected(ExchangeError::ReceiverSet{});
    }
    for (const ExchangeReceiver& receiver : transfer.receivers) {
        if (receiver.tile == transfer.sender) {
            return std::unexpected(ExchangeError::ReceiverSet{});
        }
    }
    std::bitset<c600_tile_count> seen;
    for (const ExchangeReceiver& receiver : transfer.receivers) {
        if (seen.test(receiver.tile)) {
            return std::unexpected(ExchangeError::DuplicateTile{});
        }
        seen.set(receiver.tile);
    }
    return {};
}

std::expected<void, ExchangeError> check_receiver_overlaps(
    std::span<const ExchangeTransfer> transfers) {
    std::vector<MemoryRange> ranges;
    for (const ExchangeTransfer& transfer : transfers) {
        for (const ExchangeReceiver& receiver : transfer.receivers) {
            ranges.push_back({receiver.tile, receiver.address,
                              std::uint64_t{receiver.address} + transfer.length});
        }
    }
    return check_disjoint(std::move(ranges), overlapping_writes);
}

// Greedy slot assignment in list order over per-tile send and receive ports.
class SlotAssigner {
  public:
    SlotAssigner() : send_free_(c600_tile_count, 0), receive_free_(c600_tile_count, 0) {}

    std::expected<TimedTransfer, ExchangeError> place(ExchangeTransfer transfer) {
        const std::uint64_t send = exchange_send_cycles(transfer.length);
        std::uint64_t start = send_free_[transfer.sender];
        for (const ExchangeReceiver& receiver : transfer.receivers) {
            const std::uint64_t latency = exchange_latency_cycles(transfer.sender, receiver.tile);
            if (receive_free_[receiver.tile] > start + latency) {
                start = receive_free_[receiver.tile] - latency;
            }
        }
        std::uint64_t end = start + send;
        for (const ExchangeReceiver& receiver : transfer.receivers) {
            const std::uint64_t arrived =
                start + exchange_latency_cycles(transfer.sender, receiver.tile) + send;
            receive_free_[receiver.tile] = arrived;
            end = std::max(end, arrived);
        }
        send_free_[transfer.sender] = start + send;
        if (end > std::numeric_limits<std::uint32_t>::max()) {
            return std::unexpected(ExchangeError::Schedule{phase_too_long});
        }
        return TimedTransfer{std::move(transfer), static_cast<std::uint32_t>(start),
                             static_cast<std::uint32_t>(send), static_cast<std::uint32_t>(end)};
    }

  private:
    std::vector<std::uint64_t> send_free_;
    std::vector<std::uint64_t> receive_free_;
};

}  // namespace

std::uint32_t exchange_latency_cycles(std::uint16_t sender, std::uint16_t receiver) {
    const int rows = std::abs(c600_row(sender) - c600_row(receiver));
    const int columns = std::abs(c600_row_position(sender) - c600_row_position(receiver));
    return exchange_base_latency_cycles + static_cast<std::uint32_t>(rows + columns);
}

std::uint32_t exchange_send_cycles(std::uint32_t length) {
    return length / exchange_bytes_per_cycle + (length % exchange_bytes_per_cycle != 0 ? 1 : 0);
}

std::expected<ExchangeSchedule, ExchangeError> ExchangeSchedule::compile(
    std::vector<ExchangeTransfer> transfers) {
    for (const ExchangeTransfer& transfer : transfers) {
        if (auto ok = check_transfer(transfer); !ok) {
            return std::unexpected(ok.error());
        }
    }
    if (auto ok = check_receiver_overlaps(transfers); !ok) {
        return std::unexpected(ok.error());
    }
    ExchangeSchedule schedule;
    schedule.transfers_.reserve(transfers.size());
    SlotAssigner slots;
    for (ExchangeTransfer& transfer : transfers) {
        auto timed = slots.place(std::move(transfer));
        if (!timed) {
            return std::unexpected(timed.error());
        }
        schedule.cycles_ = std::max(schedule.cycles_, timed->end_cycle);
        schedule.transfers_.push_back(std::move(*timed));
    }
    return schedule;
}

}  // namespace ipu_exchange
