#include "graph_catalogue.hpp"
#include "graph_support.hpp"
#include "ipu_runner/pattern_codelet.hpp"

namespace ipu_graph_runner {
namespace {

constexpr std::uint16_t source_tile = 0;
constexpr std::uint32_t block_bytes = 512;
constexpr std::uint32_t source_address = 0x1000;
constexpr std::uint32_t receive_address = 0x2000;
constexpr ipu_runner::PatternSource block_pattern{11, source_tile};

}  // namespace

// The source computes a block and multicasts it, in the same superstep, to all
// other 1471 tiles; every receiver and the source must hold it afterwards.
GraphBuild fanout_graph() {
    ipu_exchange::ExchangeTransfer multicast{
        physical_tile(source_tile), source_address, block_bytes, {}};
    for (std::uint16_t tile = 0; tile < c600_tile_count; ++tile) {
        if (tile != source_tile) {
            multicast.receivers.push_back({physical_tile(tile), receive_address});
        }
    }
    auto exchange = ipu_exchange::ExchangeSchedule::compile({std::move(multicast)});
    if (!exchange) {
        return std::unexpected(exchange.error());
    }

    GraphPlan plan;
    plan.description = "multicast of " + std::to_string(block_bytes) + " bytes from tile " +
                       std::to_string(source_tile) + " to " + std::to_string(c600_tile_count - 1) +
                       " tiles";
    plan.program.supersteps.push_back({
        .operation = "fanout",
        .compute = {ipu_runner::pattern_codelet(source_tile, block_pattern,
                                                {source_address, block_bytes})},
        .exchange = std::move(*exchange),
        .host_sends = {},
    });
    const auto block = ipu_runner::pattern_bytes(block_pattern, source_address, block_bytes);
    plan.expectations.push_back({"source block", source_tile, source_address, block});
    for (std::uint16_t tile = 0; tile < c600_tile_count; ++tile) {
        if (tile != source_tile) {
            plan.expectations.push_back({"multicast copy", tile, receive_address, block});
        }
    }
    return plan;
}

}  // namespace ipu_graph_runner
