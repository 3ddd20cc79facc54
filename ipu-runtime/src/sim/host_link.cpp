#include "host_link.hpp"

#include <algorithm>
#include <limits>
#include <string>
#include <utility>

#include "ipu_sim/device.hpp"
#include "ipu_sim/host_route.hpp"

namespace ipu_sim {
namespace {

using ipu_exchange::ExchangeError;

// Host link timing: a fixed cost per packet plus its payload at 16 bytes per ns.
constexpr std::uint64_t packet_overhead_ns = 8;
constexpr std::uint64_t link_bytes_per_ns = 16;

// Land time of packets that a fault holds back until a program has run.
constexpr std::uint64_t after_next_program = std::numeric_limits<std::uint64_t>::max();

std::uint64_t packet_ns(std::size_t payload) {
    return packet_overhead_ns + (payload + link_bytes_per_ns - 1) / link_bytes_per_ns;
}

std::string describe(const char* what, std::uint16_t tile, std::uint32_t address,
                     std::size_t length) {
    return std::string(what) + " for tile " + std::to_string(tile) + " address " +
           std::to_string(address) + " (" + std::to_string(length) + " bytes)";
}

}  // namespace

HostLink::HostLink(HostWriteJitter jitter, FaultInjector& faults, std::vector<TileMemory>& tiles)
    : max_delay_ns_(std::uint64_t{jitter.max_us} * 1000),
      jitter_(ipu_scenario::ScenarioGenerator::from_seed(jitter.seed)),
      faults_(faults),
      tiles_(tiles) {}

std::expected<std::uint16_t, ExchangeError> HostLink::deliver_to(std::uint16_t tile) {
    auto route = route_to_tile(tile);
    if (!route) {
        return std::unexpected(route.error());
    }
    if (faults_.is(Fault::RouteLaneStuck)) {
        route->lane = 1;
    }
    if (faults_.is(Fault::RouteRowStuck)) {
        route->row &= 0xFE;
    }
    auto destination = route_destination(*route);
    if (destination && *destination != tile) {
        faults_.report("packet for tile " + std::to_string(tile) + " delivered to tile " +
                       std::to_string(*destination));
    }
    return destination;
}

std::uint64_t HostLink::jitter_delay_ns() {
    return max_delay_ns_ == 0 ? 0 : jitter_.next_u64() % (max_delay_ns_ + 1);
}

std::expected<void, ExchangeError> HostLink::write(std::uint16_t tile, std::uint32_t address,
                                                   std::span<const std::uint8_t> data) {
    for (std::size_t done = 0; done < data.size(); done += host_packet_payload_bytes) {
        const auto destination = deliver_to(tile);
        if (!destination) {
            return std::unexpected(destination.error());
        }
        const std::size_t length =
            std::min<std::size_t>(host_packet_payload_bytes, data.size() - done);
        const auto packet_address = static_cast<std::uint32_t>(address + done);
        now_ns_ += packet_ns(length);
        const std::uint64_t delay = jitter_delay_ns();
        if (faults_.fire_once(Fault::H2dPacketDrop)) {
            faults_.report(describe("H2D packet", tile, packet_address, length) + " dropped");
            continue;
        }
        const std::uint64_t land_ns =
            faults_.is(Fault::H2dLateLanding) ? after_next_program : now_ns_ + delay;
        const auto payload = data.subspan(done, length);
        issue(Packet{land_ns, next_sequence_++, *destination, packet_address,
                     std::vector<std::uint8_t>(payload.begin(), payload.end())});
    }
    return {};
}

void HostLink::issue(Packet packet) {
    land_due();
    if (packet.land_ns <= now_ns_) {
        land(packet);
    } else {
        in_flight_.push(std::move(packet));
    }
}

void HostLink::land(const Packet& packet) {
    tiles_[packet.tile].write(packet.address, packet.payload);
    if (faults_.fire_once(Fault::H2dPacketDuplicate)) {
        replay_ = packet;
    }
}

void HostLink::land_due() {
    while (!in_flight_.empty() && in_flight_.top().land_ns <= now_ns_) {
        land(in_flight_.top());
        in_flight_.pop();
    }
}

std::expected<void, ExchangeError> HostLink::read(std::uint16_t tile, std::uint32_t address,
                                                  std::span<std::uint8_t> out) {
    land_due();
    for (std::size_t done = 0; done < out.size(); done += host_packet_payload_bytes) {
        const auto source = deliver_to(tile);
        if (!source) {
            return std::unexpected(source.error());
        }
        const std::size_t length =
            std::min<std::size_t>(host_packet_payload_bytes, out.size() - done);
        now_ns_ += packet_ns(length);
        tiles_[*source].read(static_cast<std::uint32_t>(address + done), out.subspan(done, length));
    }
    return {};
}

void HostLink::fence() {
    if (faults_.is(Fault::H2dLateLanding)) {
        if (!in_flight_.empty()) {
            faults_.report("fence returned with " + std::to_string(in_flight_.size()) +
                           " H2D packets in flight");
        }
        return;
    }
    while (!in_flight_.empty()) {
        now_ns_ = std::max(now_ns_, in_flight_.top().land_ns);
        land_due();
    }
}

void HostLink::start_program() {
    land_due();
    if (faults_.is(Fault::H2dLateLanding) && !in_flight_.empty()) {
        faults_.report("program started with " + std::to_string(in_flight_.size()) +
                       " H2D packets in flight");
    }
}

void HostLink::finish_program(std::uint64_t duration_ns) {
    const std::optional<Packet> replay = std::exchange(replay_, std::nullopt);
    now_ns_ += duration_ns;
    land_due();
    while (!in_flight_.empty() && in_flight_.top().land_ns == after_next_program) {
        land(in_flight_.top());
        in_flight_.pop();
    }
    if (replay) {
        tiles_[replay->tile].write(replay->address, replay->payload);
        faults_.report(
            describe("H2D packet", replay->tile, replay->address, replay->payload.size()) +
            " landed again after a program run");
    }
}

}  // namespace ipu_sim
