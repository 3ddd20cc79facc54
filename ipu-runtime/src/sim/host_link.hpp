#pragma once

#include <cstdint>
#include <expected>
#include <optional>
#include <queue>
#include <span>
#include <vector>

#include "fault_injector.hpp"
#include "ipu_exchange/exchange_error.hpp"
#include "ipu_scenario/scenario_generator.hpp"
#include "ipu_sim/device_config.hpp"
#include "ipu_sim/tile_memory.hpp"

namespace ipu_sim {

// The PCIe-side link between host and tiles: splits host transfers into packets,
// routes each by its tile's route fields, and keeps simulated host time. H2D
// packets land at issue time plus a jitter delay; they are applied in landing order
// (issue order among equals) whenever the device observes memory.
class HostLink {
  public:
    HostLink(HostWriteJitter jitter, FaultInjector& faults, std::vector<TileMemory>& tiles);

    // Issues the packets of a write the caller has checked.
    std::expected<void, ipu_exchange::ExchangeError> write(std::uint16_t tile,
                                                           std::uint32_t address,
                                                           std::span<const std::uint8_t> data);

    // Reads through packets, after landing every packet due by now.
    std::expected<void, ipu_exchange::ExchangeError> read(std::uint16_t tile, std::uint32_t address,
                                                          std::span<std::uint8_t> out);

    // Advances host time until every packet in flight has landed.
    void fence();

    // Lands every packet due by now: a program starting now sees exactly these.
    void start_program();

    // Advances host time by a program's run time and lands what is due by then,
    // plus anything a fault held back until a program had run.
    void finish_program(std::uint64_t duration_ns);

    std::uint64_t now_ns() const { return now_ns_; }

  private:
    struct Packet {
        std::uint64_t land_ns;
        std::uint64_t sequence;
        std::uint16_t tile;
        std::uint32_t address;
        std::vector<std::uint8_t> payload;
    };
    struct LandsLater {
        bool operator()(const Packet& a, const Packet& b) const {
            return a.land_ns != b.land_ns ? a.land_ns > b.land_ns : a.sequence > b.sequence;
        }
    };

    std::expected<std::uint16_t, ipu_exchange::ExchangeError> deliver_to(std::uint16_t tile);
    void issue(Packet packet);
    void land(const Packet& packet);
    void land_due();
    std::uint64_t jitter_delay_ns();

    std::uint64_t max_delay_ns_;
    ipu_scenario::ScenarioGenerator jitter_;
    FaultInjector& faults_;
    std::vector<TileMemory>& tiles_;
    std::priority_queue<Packet, std::vector<Packet>, LandsLater> in_flight_;
    std::uint64_t now_ns_ = 0;
    std::uint64_t next_sequence_ = 0;
    std::optional<Packet> replay_;
};

}  // namespace ipu_sim
