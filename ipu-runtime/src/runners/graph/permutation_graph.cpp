#include "graph_catalogue.hpp"
#include "graph_support.hpp"
#include "ipu_runner/pattern_codelet.hpp"

namespace ipu_graph_runner {
namespace {

constexpr TilePermutation permutation{577, 331};
constexpr std::uint32_t block_bytes = 256;
constexpr std::uint32_t send_address = 0x4000;
constexpr std::uint32_t receive_address = 0x8000;
constexpr std::uint32_t block_stream = 31;

}  // namespace

// Every tile computes a block and sends it to permutation(tile), all in one
// exchange phase; each tile must hold its own block and its sender's.
GraphBuild permutation_graph() {
    GraphPlan plan;
    plan.description = "permutation of " + std::to_string(block_bytes) + "-byte blocks over " +
                       std::to_string(c600_tile_count) + " tiles";
    ipu_sim::Superstep step{
        .operation = "permute", .compute = {}, .exchange = {}, .host_sends = {}};
    for (std::uint16_t tile = 0; tile < c600_tile_count; ++tile) {
        step.compute.push_back(
            ipu_runner::pattern_codelet(tile, {block_stream, tile}, {send_address, block_bytes}));
    }
    auto exchange = permutation_exchange(permutation, send_address, block_bytes, receive_address);
    if (!exchange) {
        return std::unexpected(exchange.error());
    }
    step.exchange = std::move(*exchange);
    plan.program.supersteps.push_back(std::move(step));

    const std::vector<std::uint16_t> senders = permutation.senders();
    for (std::uint16_t tile = 0; tile < c600_tile_count; ++tile) {
        plan.expectations.push_back(
            {"own block", tile, send_address,
             ipu_runner::pattern_bytes({block_stream, tile}, send_address, block_bytes)});
        plan.expectations.push_back(
            {"permuted block", tile, receive_address,
             ipu_runner::pattern_bytes({block_stream, senders[tile]}, send_address, block_bytes)});
    }
    return plan;
}

}  // namespace ipu_graph_runner
