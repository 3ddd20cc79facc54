#include "random_graph_run.hpp"

#include <algorithm>

#include "ipu_runner/pattern_codelet.hpp"
#include "ipu_runner/physical_tile.hpp"

namespace ipu_randomized_runner {
namespace {

constexpr std::uint32_t window_stream = 81;

ipu_exchange::ExchangeTransfer device_transfer(const RandomGraph& graph,
                                               const RandomTransfer& transfer) {
    const TileWindow& sender = graph.windows[transfer.sender];
    ipu_exchange::ExchangeTransfer result{ipu_runner::physical_tile(sender.tile),
                                          sender.base + transfer.source_offset,
                                          transfer.length,
                                          {}};
    for (const RandomReceiver& receiver : transfer.receivers) {
        const TileWindow& window = graph.windows[receiver.window];
        result.receivers.push_back(
            {ipu_runner::physical_tile(window.tile), window.base + receiver.offset});
    }
    return result;
}

}  // namespace

std::vector<std::uint8_t> initial_window(const RandomGraph& graph, std::size_t window) {
    const TileWindow& w = graph.windows[window];
    return ipu_runner::pattern_bytes({window_stream, w.tile}, w.base, window_bytes);
}

std::expected<ipu_sim::Program, ipu_exchange::ExchangeError> build_random_program(
    const RandomGraph& graph) {
    ipu_sim::Program program;
    for (std::size_t p = 0; p < graph.phases.size(); ++p) {
        ipu_sim::Superstep step{.operation = "random exchange phase " + std::to_string(p),
                                .compute = {},
                                .exchange = {},
                                .host_sends = {}};
        if (p == 0) {
            for (const TileWindow& window : graph.windows) {
                step.compute.push_back(ipu_runner::pattern_codelet(
                    window.tile, {window_stream, window.tile}, {window.base, window_bytes}));
            }
        }
        std::vector<ipu_exchange::ExchangeTransfer> transfers;
        for (const RandomTransfer& transfer : graph.phases[p]) {
            transfers.push_back(device_transfer(graph, transfer));
        }
        auto exchange = ipu_exchange::ExchangeSchedule::compile(std::move(transfers));
        if (!exchange) {
            return std::unexpected(exchange.error());
        }
        step.exchange = std::move(*exchange);
        program.supersteps.push_back(std::move(step));
    }
    return program;
}

std::vector<std::vector<std::uint8_t>> expected_windows(const RandomGraph& graph) {
    std::vector<std::vector<std::uint8_t>> windows;
    for (std::size_t w = 0; w < graph.windows.size(); ++w) {
        windows.push_back(initial_window(graph, w));
    }
    for (const auto& phase : graph.phases) {
        const std::vector<std::vector<std::uint8_t>> before = windows;
        for (const RandomTransfer& transfer : phase) {
            const auto source = before[transfer.sender].begin() + transfer.source_offset;
            for (const RandomReceiver& receiver : transfer.receivers) {
                std::copy(source, source + transfer.length,
                          windows[receiver.window].begin() + receiver.offset);
            }
        }
    }
    return windows;
}

}  // namespace ipu_randomized_runner
