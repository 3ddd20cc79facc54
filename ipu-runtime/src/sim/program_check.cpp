#include "program_check.hpp"

#include <algorithm>

#include "ipu_exchange/c600_sram.hpp"
#include "ipu_exchange/topology.hpp"

namespace ipu_sim {
namespace {

using ipu_exchange::ExchangeError;

constexpr std::string_view overlapping_host_writes = "overlapping host buffer writes in one phase";

std::expected<void, ExchangeError> check_tile(std::uint16_t tile) {
    if (tile >= ipu_exchange::c600_tile_count) {
        return std::unexpected(ExchangeError::Tile{tile});
    }
    return {};
}

std::expected<void, ExchangeError> check_range(std::uint32_t address, std::uint64_t length) {
    if (address + length > ipu_exchange::c600_tile_sram_bytes) {
        return std::unexpected(ExchangeError::Address{address});
    }
    return {};
}

std::expected<void, ExchangeError> check_codelet(const Codelet& codelet) {
    if (auto ok = check_tile(codelet.tile); !ok) {
        return ok;
    }
    for (const auto* ranges : {&codelet.inputs, &codelet.outputs}) {
        for (const ByteRange& range : *ranges) {
            if (auto ok = check_range(range.address, range.length); !ok) {
                return ok;
            }
        }
    }
    return {};
}

std::expected<void, ExchangeError> check_host_send(
    const HostSend& send, std::span<const std::vector<std::uint8_t>> host_buffers) {
    if (auto ok = check_tile(send.tile); !ok) {
        return ok;
    }
    if (auto ok = check_range(send.address, send.length); !ok) {
        return ok;
    }
    if (send.buffer.index >= host_buffers.size()) {
        return std::unexpected(ExchangeError::ReceiverSet{});
    }
    if (send.length == 0 ||
        std::uint64_t{send.buffer_offset} + send.length > host_buffers[send.buffer.index].size()) {
        return std::unexpected(ExchangeError::Count{send.length});
    }
    return {};
}

std::expected<void, ExchangeError> check_host_overlaps(std::span<const HostSend> sends) {
    std::vector<const HostSend*> sorted;
    for (const HostSend& send : sends) {
        sorted.push_back(&send);
    }
    std::sort(sorted.begin(), sorted.end(), [](const HostSend* a, const HostSend* b) {
        return a->buffer.index != b->buffer.index ? a->buffer.index < b->buffer.index
                                                  : a->buffer_offset < b->buffer_offset;
    });
    for (std::size_t i = 1; i < sorted.size(); ++i) {
        const HostSend& before = *sorted[i - 1];
        const HostSend& after = *sorted[i];
        if (before.buffer == after.buffer &&
            after.buffer_offset < std::uint64_t{before.buffer_offset} + before.length) {
            return std::unexpected(ExchangeError::Schedule{overlapping_host_writes});
        }
    }
    return {};
}

}  // namespace

std::expected<void, ExchangeError> check_program(
    const Program& program, std::span<const std::vector<std::uint8_t>> host_buffers) {
    for (const Superstep& step : program.supersteps) {
        for (const Codelet& codelet : step.compute) {
            if (auto ok = check_codelet(codelet); !ok) {
                return ok;
            }
        }
        for (const HostSend& send : step.host_sends) {
            if (auto ok = check_host_send(send, host_buffers); !ok) {
                return ok;
            }
        }
        if (auto ok = check_host_overlaps(step.host_sends); !ok) {
            return ok;
        }
    }
    return {};
}

}  // namespace ipu_sim
