#include "graph_catalogue.hpp"
#include "graph_support.hpp"
#include "ipu_runner/pattern_codelet.hpp"

namespace ipu_graph_runner {
namespace {

constexpr std::uint32_t block_bytes = 256;
constexpr std::uint32_t block_address = 0x1000;
constexpr std::uint32_t forward_address = 0x3000;
constexpr std::uint32_t block_stream = 51;
constexpr std::uint16_t groups = 8;
constexpr std::uint16_t receivers_per_group = 4;

// Group g: a source, four receivers that take its block at block_address, and a
// target to which the first receiver forwards its own block, from the very range
// it receives into, in the same exchange phase.
struct MulticastGroup {
    std::uint16_t source;
    std::vector<std::uint16_t> receivers;
    std::uint16_t target;

    std::uint16_t forwarder() const { return receivers.front(); }
};

MulticastGroup group(std::uint16_t g) {
    const auto source = static_cast<std::uint16_t>(g * 184 + 3);
    MulticastGroup result{source, {}, static_cast<std::uint16_t>(source + 115)};
    for (std::uint16_t r = 1; r <= receivers_per_group; ++r) {
        result.receivers.push_back(static_cast<std::uint16_t>(source + 23 * r));
    }
    return result;
}

std::vector<std::uint8_t> block_of(std::uint16_t tile) {
    return ipu_runner::pattern_bytes({block_stream, tile}, block_address, block_bytes);
}

}  // namespace

// Sends read memory as it was when the exchange phase began, so each forwarder
// passes on its own freshly computed block while it receives its source's block
// over it. Checked: every source and receiver holds the source's block, every
// target the forwarder's own.
GraphBuild multicast_graph() {
    GraphPlan plan;
    plan.description = std::to_string(groups) + " multicasts of " + std::to_string(block_bytes) +
                       " bytes to " + std::to_string(receivers_per_group) +
                       " tiles, each with a receiver that also sends";
    ipu_sim::Superstep step{
        .operation = "multicast", .compute = {}, .exchange = {}, .host_sends = {}};
    std::vector<ipu_exchange::ExchangeTransfer> transfers;
    for (std::uint16_t g = 0; g < groups; ++g) {
        const MulticastGroup mg = group(g);
        for (const std::uint16_t tile : {mg.source, mg.forwarder()}) {
            step.compute.push_back(ipu_runner::pattern_codelet(tile, {block_stream, tile},
                                                               {block_address, block_bytes}));
        }
        ipu_exchange::ExchangeTransfer multicast{
            physical_tile(mg.source), block_address, block_bytes, {}};
        for (const std::uint16_t receiver : mg.receivers) {
            multicast.receivers.push_back({physical_tile(receiver), block_address});
        }
        transfers.push_back(std::move(multicast));
        transfers.push_back(
            transfer(mg.forwarder(), block_address, block_bytes, mg.target, forward_address));

        plan.expectations.push_back(
            {"source block", mg.source, block_address, block_of(mg.source)});
        for (const std::uint16_t receiver : mg.receivers) {
            plan.expectations.push_back(
                {"multicast copy", receiver, block_address, block_of(mg.source)});
        }
        plan.expectations.push_back({"block forwarded by a receiver", mg.target, forward_address,
                                     block_of(mg.forwarder())});
    }
    auto exchange = ipu_exchange::ExchangeSchedule::compile(std::move(transfers));
    if (!exchange) {
        return std::unexpected(exchange.error());
    }
    step.exchange = std::move(*exchange);
    plan.program.supersteps.push_back(std::move(step));
    return plan;
}

}  // namespace ipu_graph_runner
