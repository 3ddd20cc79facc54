#include <iostream>

#include "graph_run.hpp"
#include "graph_settings.hpp"
#include "ipu_runner/device_settings.hpp"

namespace {

ipu_runner::RunnerOutcome run_selected_graphs() {
    const auto selection = ipu_graph_runner::read_graph_selection();
    if (!selection) {
        return std::unexpected(selection.error());
    }
    const auto config = ipu_runner::device_config_setting();
    if (!config) {
        return std::unexpected(config.error());
    }
    std::string summary;
    for (const ipu_graph_runner::GraphEntry& graph : *selection) {
        const auto plan = graph.build();
        if (!plan) {
            return std::unexpected(ipu_runner::RunnerFailure::device(
                "compiling the " + std::string(graph.name) + " graph", plan.error()));
        }
        ipu_sim::Device device(*config);
        const auto totals = ipu_graph_runner::run_graph(*plan, device);
        if (!totals) {
            auto failure = totals.error();
            failure.line = std::string(graph.name) + ": " + failure.line;
            return std::unexpected(std::move(failure));
        }
        summary += (summary.empty() ? "" : "; ") + std::string(graph.name) + ": " +
                   plan->description + ", " + std::to_string(totals->bytes_checked) +
                   " bytes checked, " + std::to_string(totals->cycles) + " cycles";
    }
    return summary;
}

}  // namespace

int main() {
    return ipu_runner::runner_main("ipu-hardware-e2e", run_selected_graphs, std::cout, std::cerr);
}
