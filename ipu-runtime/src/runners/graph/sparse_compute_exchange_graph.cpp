#include "graph_catalogue.hpp"
#include "graph_support.hpp"
#include "ipu_runner/pattern_codelet.hpp"

namespace ipu_graph_runner {
namespace {

constexpr TilePermutation permutation{1031, 97};
constexpr std::uint32_t words = 16;
constexpr std::uint32_t block_bytes = words * 4;
constexpr std::uint32_t send_address = 0x4000;
constexpr std::uint32_t receive_address = 0x8000;
constexpr std::uint32_t block_stream = 41;
// One tile in 23 computes: 64 tiles, spread over every row band of the chip.
constexpr std::uint16_t compute_stride = 23;

constexpr bool computes(std::uint16_t tile) {
    return tile % compute_stride == 0;
}

std::vector<std::uint32_t> initial_block(std::uint16_t tile) {
    return words_of(ipu_runner::pattern_bytes({block_stream, tile}, send_address, block_bytes));
}

// Running sums: word i becomes the sum of words 0 to i (mod 2^32).
std::vector<std::uint32_t> running_sums(std::vector<std::uint32_t> block) {
    for (std::size_t i = 1; i < block.size(); ++i) {
        block[i] += block[i - 1];
    }
    return block;
}

ipu_sim::Codelet running_sum_codelet(std::uint16_t tile) {
    return {
        .kernel = "running_sum_u32",
        .tile = physical_tile(tile),
        .inputs = {{send_address, block_bytes}},
        .outputs = {{send_address, block_bytes}},
        .cost_class = ipu_sim::CostClass::IntAdd,
        .work = words,
        .body =
            [](ipu_sim::TileView& view) {
                const auto block = running_sums(view.read<std::uint32_t>(send_address, words));
                view.write(send_address, std::span<const std::uint32_t>(block));
            },
    };
}

std::vector<std::uint8_t> final_block(std::uint16_t tile) {
    const auto block = computes(tile) ? running_sums(initial_block(tile)) : initial_block(tile);
    return bytes_of(block);
}

}  // namespace

// Every tile initializes a block; then, in one superstep, one tile in 23 turns
// its block into running sums and every tile sends its block under a
// permutation. The exchange must carry the freshly computed blocks.
GraphBuild sparse_compute_exchange_graph() {
    GraphPlan plan;
    plan.description = "running sums on " +
                       std::to_string((c600_tile_count + compute_stride - 1) / compute_stride) +
                       " tiles, then a permutation of " + std::to_string(block_bytes) +
                       "-byte blocks over " + std::to_string(c600_tile_count) + " tiles";
    ipu_sim::Superstep init{
        .operation = "initialize", .compute = {}, .exchange = {}, .host_sends = {}};
    ipu_sim::Superstep compute_then_exchange{.operation = "sparse compute then exchange",
                                             .compute = {},
                                             .exchange = {},
                                             .host_sends = {}};
    for (std::uint16_t tile = 0; tile < c600_tile_count; ++tile) {
        init.compute.push_back(
            ipu_runner::pattern_codelet(tile, {block_stream, tile}, {send_address, block_bytes}));
        if (computes(tile)) {
            compute_then_exchange.compute.push_back(running_sum_codelet(tile));
        }
    }
    auto exchange = permutation_exchange(permutation, send_address, block_bytes, receive_address);
    if (!exchange) {
        return std::unexpected(exchange.error());
    }
    compute_then_exchange.exchange = std::move(*exchange);
    plan.program.supersteps.push_back(std::move(init));
    plan.program.supersteps.push_back(std::move(compute_then_exchange));

    const std::vector<std::uint16_t> senders = permutation.senders();
    for (std::uint16_t tile = 0; tile < c600_tile_count; ++tile) {
        plan.expectations.push_back({"own block", tile, send_address, final_block(tile)});
        plan.expectations.push_back(
            {"received block", tile, receive_address, final_block(senders[tile])});
    }
    return plan;
}

}  // namespace ipu_graph_runner
