#include <algorithm>
#include <iostream>

#include "ipu_runner/device_settings.hpp"
#include "ipu_runner/tile_io.hpp"
#include "random_graph_run.hpp"
#include "randomized_settings.hpp"

namespace {

using ipu_runner::RunnerFailure;
using namespace ipu_randomized_runner;

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

ipu_runner::RunnerOutcome run_random_graph() {
    const auto seed = read_random_seed();
    if (!seed) {
        return std::unexpected(seed.error());
    }
    auto device = ipu_runner::open_device();
    if (!device) {
        return std::unexpected(device.error());
    }
    const RandomGraph graph = generate_random_graph(*seed);
    const auto program = build_random_program(graph);
    if (!program) {
        return std::unexpected(
            RunnerFailure::device("compiling the random graph", program.error()));
    }
    const auto cycles = ipu_runner::run_program(*device, *program, "the random graph");
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

}  // namespace

int main() {
    return ipu_runner::runner_main("ipu-randomized-e2e", run_random_graph, std::cout, std::cerr);
}
