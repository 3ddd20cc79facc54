#include "random_graph_run.hpp"

#include <algorithm>
#include <string>

#include "ipu_runner/device_settings.hpp"
#include "ipu_runner/pattern_codelet.hpp"
#include "ipu_runner/physical_tile.hpp"
#include "ipu_runner/tile_io.hpp"
#include "randomized_settings.hpp"

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

std::string describe(const RandomGraph& graph) {
    std::size_t transfers = 0;
    std::size_t multicasts = 0;
    for (const auto& phase : graph.phases) {
        transfers += phase.size();
        multicasts += static_cast<std::size_t>(std::count_if(
            phase.begin(), phase.end(), [](const auto& t) { return t.receivers.size() > 1; }));
    }
    return "seed " + std::to_string(graph.seed) + ": " + std::to_string(graph.phases.size()) +
           " phases, " + std::to_string(transfers) + " transfers (" + std::to_string(multicasts) +
           " multicasts) over " + std::to_string(graph.windows.size()) + " tiles";
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

ipu_runner::RunnerOutcome run_randomized_e2e() {
    const auto seed = read_random_seed();
    if (!seed) {
        return std::unexpected(seed.error());
    }
    auto device = ipu_runner::open_device();
    if (!device) {
        return std::unexpected(device.error());
    }
    const RandomGraph graph = generate_random_graph(*seed);
    const auto cycles = ipu_runner::run_built_program(
        *device, build_random_program(graph), "compiling the random graph", "the random graph");
    if (!cycles) {
        return std::unexpected(cycles.error());
    }
    const auto windows = expected_windows(graph);
    std::vector<ipu_runner::TileExpectation> expectations;
    for (std::size_t w = 0; w < windows.size(); ++w) {
        expectations.push_back(
            {"window after all phases", graph.windows[w].tile, graph.windows[w].base, windows[w]});
    }
    const auto checked = ipu_runner::check_tiles(*device, expectations);
    if (!checked) {
        return std::unexpected(checked.error());
    }
    return describe(graph) + ", " + std::to_string(*checked) + " bytes checked, " +
           std::to_string(cycles->end_cycle - cycles->start_cycle) + " cycles";
}

}  // namespace ipu_randomized_runner
