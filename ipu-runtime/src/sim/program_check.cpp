#include "program_check.hpp"

#include "ipu_exchange/c600_sram.hpp"
#include "ipu_exchange/disjoint_ranges.hpp"
#include "ipu_exchange/topology.hpp"

namespace ipu_sim {
namespace {

using ipu_exchange::ExchangeError;

constexpr std::string_view overlapping_host_writes = "overlapping host buffer writes in one phase";

std::expected<void, ExchangeError> check_codelet(const Codelet& codelet) {
    if (auto ok = ipu_exchange::check_c600_tile(codelet.tile); !ok) {
        return ok;
    }
    for (const auto* ranges : {&codelet.inputs, &codelet.outputs}) {
        for (const ByteRange& range : *ranges) {
            if (auto ok = ipu_exchange::check_c600_sram_range(range.address, range.length); !ok) {
                return ok;
            }
        }
    }
    return {};
}

std::expected<void, ExchangeError> check_host_send(
    const HostSend& send, std::span<const std::vector<std::uint8_t>> host_buffers) {
    if (auto ok = ipu_exchange::check_c600_tile(send.tile); !ok) {
        return ok;
    }
    if (auto ok = ipu_exchange::check_c600_sram_range(send.address, send.length); !ok) {
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
    std::vector<ipu_exchange::MemoryRange> ranges;
    for (const HostSend& send : sends) {
        ranges.push_back({send.buffer.index, send.buffer_offset,
                          std::uint64_t{send.buffer_offset} + send.length});
    }
    return ipu_exchange::check_disjoint(std::move(ranges), overlapping_host_writes);
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
