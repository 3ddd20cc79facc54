#include "graph_catalogue.hpp"
#include "graph_support.hpp"
#include "ipu_runner/pattern_codelet.hpp"
#include "reduction_tree.hpp"

namespace ipu_graph_runner {
namespace {

constexpr std::size_t fan_in = 8;
constexpr std::uint32_t words = 16;
constexpr std::uint32_t partial_bytes = words * 4;
constexpr std::uint32_t partial_address = 0x1000;
constexpr std::uint32_t staging_address = 0x1100;  // slot j at staging_address + j * partial_bytes
constexpr std::uint32_t contribution_stream = 21;

constexpr std::uint32_t slot_address(std::size_t slot) {
    return staging_address + static_cast<std::uint32_t>(slot) * partial_bytes;
}

std::vector<std::uint32_t> contribution(std::uint16_t tile) {
    return words_of(
        ipu_runner::pattern_bytes({contribution_stream, tile}, partial_address, partial_bytes));
}

// The leader adds the partials its members staged to its own.
ipu_sim::Codelet sum_codelet(const ReductionGroup& group) {
    const auto members = static_cast<std::uint32_t>(group.members.size());
    return {
        .kernel = "sum_partials_u32",
        .tile = physical_tile(group.leader),
        .inputs = {{partial_address, partial_bytes}, {staging_address, members * partial_bytes}},
        .outputs = {{partial_address, partial_bytes}},
        .cost_class = ipu_sim::CostClass::IntAdd,
        .work = std::uint64_t{words} * members,
        .body =
            [members](ipu_sim::TileView& view) {
                auto partial = view.read<std::uint32_t>(partial_address, words);
                const auto staged = view.read<std::uint32_t>(staging_address, words * members);
                for (std::size_t i = 0; i < staged.size(); ++i) {
                    partial[i % words] += staged[i];
                }
                view.write(partial_address, std::span<const std::uint32_t>(partial));
            },
    };
}

std::expected<ipu_exchange::ExchangeSchedule, ipu_exchange::ExchangeError> level_exchange(
    const std::vector<ReductionGroup>& level) {
    std::vector<ipu_exchange::ExchangeTransfer> transfers;
    for (const ReductionGroup& group : level) {
        for (std::size_t slot = 0; slot < group.members.size(); ++slot) {
            transfers.push_back(transfer(group.members[slot], partial_address, partial_bytes,
                                         group.leader, slot_address(slot)));
        }
    }
    return ipu_exchange::ExchangeSchedule::compile(std::move(transfers));
}

}  // namespace

// Every tile computes a vector of 16 words; an 8-way tree of exchange and add
// supersteps sums them into tile 0. Every tile's final partial is checked: the
// leaders' sums of their subtrees and the untouched contributions of the rest.
GraphBuild reduction_graph() {
    const auto levels = reduction_levels(c600_tile_count, fan_in);
    GraphPlan plan;
    plan.description = "sum of " + std::to_string(c600_tile_count) + " vectors of " +
                       std::to_string(words) + " words in " + std::to_string(levels.size()) +
                       " levels of an 8-way tree";

    std::vector<std::vector<std::uint32_t>> expected(c600_tile_count);
    ipu_sim::Superstep step{
        .operation = "reduce level 0", .compute = {}, .exchange = {}, .host_sends = {}};
    for (std::uint16_t tile = 0; tile < c600_tile_count; ++tile) {
        step.compute.push_back(ipu_runner::pattern_codelet(tile, {contribution_stream, tile},
                                                           {partial_address, partial_bytes}));
        expected[tile] = contribution(tile);
    }
    for (std::size_t l = 0; l <= levels.size(); ++l) {
        if (l > 0) {
            step = {.operation = "reduce level " + std::to_string(l),
                    .compute = {},
                    .exchange = {},
                    .host_sends = {}};
            for (const ReductionGroup& group : levels[l - 1]) {
                if (group.members.empty()) {
                    continue;
                }
                step.compute.push_back(sum_codelet(group));
                for (const std::uint16_t member : group.members) {
                    for (std::uint32_t i = 0; i < words; ++i) {
                        expected[group.leader][i] += expected[member][i];
                    }
                }
            }
        }
        if (l < levels.size()) {
            auto exchange = level_exchange(levels[l]);
            if (!exchange) {
                return std::unexpected(exchange.error());
            }
            step.exchange = std::move(*exchange);
        }
        plan.program.supersteps.push_back(std::move(step));
    }
    for (std::uint16_t tile = 0; tile < c600_tile_count; ++tile) {
        plan.expectations.push_back({tile == 0 ? "reduced sum" : "partial sum", tile,
                                     partial_address, bytes_of(expected[tile])});
    }
    return plan;
}

}  // namespace ipu_graph_runner
