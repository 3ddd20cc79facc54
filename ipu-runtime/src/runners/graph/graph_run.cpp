#include "graph_run.hpp"

#include "graph_settings.hpp"
#include "ipu_runner/device_settings.hpp"

namespace ipu_graph_runner {

std::expected<GraphTotals, ipu_runner::RunnerFailure> run_graph(const GraphPlan& plan,
                                                                ipu_sim::Device& device) {
    for (const HostInput& input : plan.inputs) {
        if (auto written = ipu_runner::write_tile(device, input.tile, input.address, input.bytes);
            !written) {
            return std::unexpected(std::move(written.error()));
        }
    }
    device.fence();
    const auto cycles = ipu_runner::run_program(device, plan.program, plan.description);
    if (!cycles) {
        return std::unexpected(cycles.error());
    }
    const auto checked = ipu_runner::check_tiles(device, plan.expectations);
    if (!checked) {
        return std::unexpected(checked.error());
    }
    return GraphTotals{*checked, cycles->end_cycle - cycles->start_cycle};
}

ipu_runner::RunnerOutcome run_hardware_e2e() {
    const auto selection = read_graph_selection();
    if (!selection) {
        return std::unexpected(selection.error());
    }
    const auto config = ipu_runner::device_config_setting();
    if (!config) {
        return std::unexpected(config.error());
    }
    std::string summary;
    for (const GraphEntry& graph : *selection) {
        const auto plan = graph.build();
        if (!plan) {
            return std::unexpected(ipu_runner::RunnerFailure::device(
                "compiling the " + std::string(graph.name) + " graph", plan.error()));
        }
        ipu_sim::Device device(*config);
        const auto totals = run_graph(*plan, device);
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

}  // namespace ipu_graph_runner
