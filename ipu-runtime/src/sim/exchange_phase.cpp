#include "exchange_phase.hpp"

#include <algorithm>
#include <string>

#include "ipu_exchange/topology.hpp"

namespace ipu_sim {
namespace {

using ipu_exchange::ExchangeReceiver;
using ipu_exchange::TimedTransfer;

bool overlaps(const ByteRange& range, std::uint32_t address, std::uint32_t length) {
    return range.address < std::uint64_t{address} + length &&
           address < std::uint64_t{range.address} + range.length;
}

bool computed_in_step(const Superstep& step, const TimedTransfer& timed) {
    const auto& transfer = timed.transfer;
    return std::any_of(step.compute.begin(), step.compute.end(), [&](const Codelet& codelet) {
        return codelet.tile == transfer.sender &&
               std::any_of(codelet.outputs.begin(), codelet.outputs.end(),
                           [&](const ByteRange& output) {
                               return overlaps(output, transfer.source_address, transfer.length);
                           });
    });
}

// The receivers a transfer actually reaches, after the faults that lose copies.
std::span<const ExchangeReceiver> reached_receivers(const TimedTransfer& timed,
                                                    FaultInjector& faults) {
    const auto& transfer = timed.transfer;
    std::span<const ExchangeReceiver> receivers = transfer.receivers;
    if (faults.fire_once(Fault::ExchangeDrop)) {
        faults.report("transfer from tile " + std::to_string(transfer.sender) + " to " +
                      std::to_string(receivers.size()) + " receiver(s) lost");
        return {};
    }
    if (receivers.size() > 1 && faults.fire_once(Fault::MulticastReceiverDrop)) {
        faults.report("multicast from tile " + std::to_string(transfer.sender) +
                      " did not reach tile " + std::to_string(receivers.back().tile));
        return receivers.first(receivers.size() - 1);
    }
    return receivers;
}

}  // namespace

std::optional<StaleSend> capture_skipped_sync(DeviceState& state, const Superstep& step) {
    if (!state.faults.is(Fault::SkippedSync) || step.compute.empty()) {
        return std::nullopt;
    }
    const auto transfers = step.exchange.transfers();
    for (std::size_t i = 0; i < transfers.size(); ++i) {
        if (!computed_in_step(step, transfers[i]) || !state.faults.fire_once(Fault::SkippedSync)) {
            continue;
        }
        const auto& transfer = transfers[i].transfer;
        std::vector<std::uint8_t> bytes(transfer.length);
        state.tiles[transfer.sender].read(transfer.source_address, bytes);
        state.faults.report("tile " + std::to_string(transfer.sender) +
                            " started its exchange before its compute phase ended");
        return StaleSend{i, std::move(bytes)};
    }
    return std::nullopt;
}

void move_exchange_data(DeviceState& state, const Superstep& step,
                        const std::optional<StaleSend>& stale) {
    const auto transfers = step.exchange.transfers();
    std::vector<std::size_t> offsets;
    std::size_t total = 0;
    for (const TimedTransfer& timed : transfers) {
        offsets.push_back(total);
        total += timed.transfer.length;
    }
    for (const HostSend& send : step.host_sends) {
        offsets.push_back(total);
        total += send.length;
    }
    std::vector<std::uint8_t> staged(total);
    for (std::size_t i = 0; i < transfers.size(); ++i) {
        const auto& transfer = transfers[i].transfer;
        const std::span<std::uint8_t> slot(staged.data() + offsets[i], transfer.length);
        if (stale && stale->transfer == i) {
            std::copy(stale->bytes.begin(), stale->bytes.end(), slot.begin());
        } else {
            state.tiles[transfer.sender].read(transfer.source_address, slot);
        }
    }
    for (std::size_t i = 0; i < step.host_sends.size(); ++i) {
        const HostSend& send = step.host_sends[i];
        state.tiles[send.tile].read(
            send.address, std::span(staged.data() + offsets[transfers.size() + i], send.length));
    }

    for (std::size_t i = 0; i < transfers.size(); ++i) {
        const auto& transfer = transfers[i].transfer;
        const std::span<const std::uint8_t> slot(staged.data() + offsets[i], transfer.length);
        const auto receivers = reached_receivers(transfers[i], state.faults);
        for (std::size_t r = 0; r < receivers.size(); ++r) {
            TileMemory& memory = state.tiles[receivers[r].tile];
            if (r == 0 && state.faults.fire_once(Fault::ExchangeBitFlip)) {
                std::vector<std::uint8_t> corrupted(slot.begin(), slot.end());
                flip_fault_bit(corrupted);
                memory.write(receivers[r].address, corrupted);
                state.faults.report("transfer from tile " + std::to_string(transfer.sender) +
                                    " reached tile " + std::to_string(receivers[r].tile) +
                                    " with a flipped bit");
                continue;
            }
            memory.write(receivers[r].address, slot);
        }
    }
    for (std::size_t i = 0; i < step.host_sends.size(); ++i) {
        const HostSend& send = step.host_sends[i];
        const auto slot =
            staged.begin() + static_cast<std::ptrdiff_t>(offsets[transfers.size() + i]);
        std::copy(slot, slot + send.length,
                  state.host_buffers[send.buffer.index].begin() + send.buffer_offset);
    }
}

std::vector<ExchangeActivity> exchange_activity(const Superstep& step) {
    std::vector<ExchangeActivity> activity(ipu_exchange::c600_tile_count);
    for (const TimedTransfer& timed : step.exchange.transfers()) {
        const auto& transfer = timed.transfer;
        ExchangeActivity& sender = activity[transfer.sender];
        sender.end = std::max<std::uint64_t>(sender.end, timed.start_cycle + timed.send_cycles);
        sender.bytes_sent += transfer.length;
        for (const ExchangeReceiver& receiver : transfer.receivers) {
            ExchangeActivity& tile = activity[receiver.tile];
            const std::uint64_t arrived =
                std::uint64_t{timed.start_cycle} +
                ipu_exchange::exchange_latency_cycles(transfer.sender, receiver.tile) +
                timed.send_cycles;
            tile.end = std::max(tile.end, arrived);
            tile.bytes_received += transfer.length;
        }
    }
    for (const HostSend& send : step.host_sends) {
        ExchangeActivity& tile = activity[send.tile];
        tile.end += host_send_latency_cycles + ipu_exchange::exchange_send_cycles(send.length);
        tile.bytes_sent += send.length;
    }
    return activity;
}

}  // namespace ipu_sim
