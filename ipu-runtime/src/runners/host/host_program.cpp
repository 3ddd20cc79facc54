#include "host_program.hpp"

#include <algorithm>

#include "host_reference.hpp"
#include "ipu_runner/pattern_codelet.hpp"
#include "ipu_runner/physical_tile.hpp"

namespace ipu_host_runner {
namespace {

using ipu_runner::physical_tile;

ipu_sim::Codelet transform_codelet(const HostSettings& s, std::uint16_t tile, std::string kernel,
                                   std::uint8_t (*transform)(std::uint8_t)) {
    const ipu_sim::ByteRange range{s.address, s.bytes};
    return {
        .kernel = std::move(kernel),
        .tile = physical_tile(tile),
        .inputs = {range},
        .outputs = {range},
        .cost_class = ipu_sim::CostClass::IntAdd,
        .work = s.bytes,
        .body =
            [range, transform](ipu_sim::TileView& view) {
                std::vector<std::uint8_t> bytes =
                    view.read<std::uint8_t>(range.address, range.length);
                std::transform(bytes.begin(), bytes.end(), bytes.begin(), transform);
                view.write(range.address, std::span<const std::uint8_t>(bytes));
            },
    };
}

std::vector<ipu_exchange::ExchangeTransfer> relay_transfers(const HostScenario& scenario) {
    const HostSettings& s = scenario.settings;
    std::vector<ipu_exchange::ExchangeTransfer> transfers;
    for (std::size_t i = 0; i < s.tiles.size(); ++i) {
        transfers.push_back({
            .sender = physical_tile(s.tiles[i]),
            .source_address = s.address,
            .length = s.bytes,
            .receivers = {{physical_tile(scenario.relay_tiles[i]), s.address}},
        });
    }
    return transfers;
}

std::vector<ipu_sim::HostSend> host_sends(const HostScenario& scenario,
                                          ipu_sim::HostBufferId buffer) {
    const HostSettings& s = scenario.settings;
    std::vector<ipu_sim::HostSend> sends;
    const std::span<const std::uint16_t> tiles = scenario.final_tiles();
    for (std::size_t i = 0; i < tiles.size(); ++i) {
        sends.push_back({
            .tile = physical_tile(tiles[i]),
            .address = s.address,
            .length = s.bytes,
            .buffer = buffer,
            .buffer_offset = static_cast<std::uint32_t>(i * s.bytes),
        });
    }
    return sends;
}

}  // namespace

std::expected<ipu_sim::Program, ipu_exchange::ExchangeError> build_host_program(
    const HostScenario& scenario, std::optional<ipu_sim::HostBufferId> host_buffer) {
    const HostSettings& s = scenario.settings;
    std::vector<ipu_sim::Superstep> steps;

    ipu_sim::Superstep first{.operation = "relay", .compute = {}, .exchange = {}, .host_sends = {}};
    for (const std::uint16_t tile : s.tiles) {
        if (s.source == HostSource::device_init) {
            first.compute.push_back(
                ipu_runner::pattern_codelet(tile, {data_stream, tile}, {s.address, s.bytes}));
        }
        if (s.path == HostPath::compute_relay) {
            first.compute.push_back(transform_codelet(s, tile, "scale_add_u8", first_compute));
        }
    }
    if (s.path != HostPath::direct) {
        auto relay = ipu_exchange::ExchangeSchedule::compile(relay_transfers(scenario));
        if (!relay) {
            return std::unexpected(relay.error());
        }
        first.exchange = std::move(*relay);
    } else {
        first.operation = "initialize";
    }
    if (!first.compute.empty() || !first.exchange.empty()) {
        steps.push_back(std::move(first));
    }

    if (s.path == HostPath::compute_relay) {
        ipu_sim::Superstep second{
            .operation = "compute after relay", .compute = {}, .exchange = {}, .host_sends = {}};
        for (const std::uint16_t tile : scenario.relay_tiles) {
            second.compute.push_back(transform_codelet(s, tile, "rotate_xor_u8", second_compute));
        }
        steps.push_back(std::move(second));
    }

    if (host_buffer) {
        // Sends go in the last superstep's exchange phase, after its compute; a
        // superstep that already exchanges tile to tile gets a new one, so that
        // the sends read the relayed data.
        if (steps.empty() || !steps.back().exchange.empty()) {
            steps.push_back(
                {.operation = "send to host", .compute = {}, .exchange = {}, .host_sends = {}});
        }
        steps.back().host_sends = host_sends(scenario, *host_buffer);
    }
    return ipu_sim::Program{std::move(steps)};
}

}  // namespace ipu_host_runner
