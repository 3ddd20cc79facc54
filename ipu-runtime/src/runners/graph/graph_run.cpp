#include "graph_run.hpp"

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

}  // namespace ipu_graph_runner
