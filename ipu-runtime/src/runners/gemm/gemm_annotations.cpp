#include "gemm_annotations.hpp"

#include <algorithm>

#include "gemm_program.hpp"
#include "ipu_runner/physical_tile.hpp"
#include "ipu_text/tile_list.hpp"

namespace ipu_gemm {

GemmAnnotations::GemmAnnotations(const GemmPlan& plan, const ipu_sim::Program& program) {
    for (std::uint32_t i = 0; i < plan.grid; ++i) {
        for (std::uint32_t j = 0; j < plan.grid; ++j) {
            for (std::uint32_t k = 0; k < plan.grid; ++k) {
                products_[ipu_runner::physical_tile(plan.product_tile(i, j, k))] = {i, j, k};
            }
        }
    }
    for (const ipu_sim::Superstep& superstep : program.supersteps) {
        auto& peers = peers_by_phase_.emplace_back();
        for (const auto& timed : superstep.exchange.transfers()) {
            for (const auto& receiver : timed.transfer.receivers) {
                peers[timed.transfer.sender].tiles.push_back(receiver.tile);
                peers[receiver.tile].tiles.push_back(timed.transfer.sender);
            }
        }
        for (const ipu_sim::HostSend& send : superstep.host_sends) {
            peers[send.tile].host = true;
        }
        for (auto& [tile, tile_peers] : peers) {
            std::ranges::sort(tile_peers.tiles);
            const auto repeated = std::ranges::unique(tile_peers.tiles);
            tile_peers.tiles.erase(repeated.begin(), repeated.end());
        }
    }
}

std::vector<ipu_package::ProfileMetadata> GemmAnnotations::operator()(
    std::uint16_t physical_tile, const ipu_sim::StepRecord& step) const {
    if (step.epoch != 0) {
        return {};
    }
    if (step.kind == ipu_sim::StepKind::Compute) {
        const auto product = products_.find(physical_tile);
        if (product == products_.end()) {
            return {};
        }
        const auto [i, j, k] = product->second;
        const bool sum = step.kernel == partial_sum_kernel;
        return {{"block", sum ? block_label('C', {i, j})
                              : block_label('A', {i, k}) + " x " + block_label('B', {k, j})}};
    }
    if (step.kind != ipu_sim::StepKind::Exchange || step.phase >= peers_by_phase_.size()) {
        return {};
    }
    const auto& phase = peers_by_phase_[step.phase];
    const auto peers = phase.find(physical_tile);
    if (peers == phase.end()) {
        return {};
    }
    std::string text = ipu_text::tile_list(peers->second.tiles);
    if (peers->second.host) {
        text += text.empty() ? "host" : ",host";
    }
    return {{"peer tiles", text}};
}

}  // namespace ipu_gemm
