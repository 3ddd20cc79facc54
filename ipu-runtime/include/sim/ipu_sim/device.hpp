#pragma once

#include <cstdint>
#include <expected>
#include <memory>
#include <span>
#include <string_view>
#include <vector>

#include "ipu_exchange/exchange_error.hpp"
#include "ipu_sim/device_config.hpp"
#include "ipu_sim/program.hpp"
#include "ipu_sim/step_record.hpp"
#include "ipu_sim/tile_memory.hpp"

namespace ipu_sim {

// Clock rate of the simulated IPU; cycle counts in step records refer to it.
inline constexpr std::uint64_t device_clock_hz = 1'850'000'000;

// Chip-wide sync cost paid by every tile in every superstep.
inline constexpr std::uint64_t chip_sync_cycles = 150;

// Largest payload of one host packet; longer host transfers are split.
inline constexpr std::uint32_t host_packet_payload_bytes = 256;

// The value every byte of a fresh host buffer holds (not zero, like unwritten SRAM).
inline constexpr std::uint8_t unwritten_host_fill = 0x5A;

// Start and end of one program run on the device's cycle counter.
struct RunCycles {
    std::uint64_t start_cycle;
    std::uint64_t end_cycle;
};

// A simulated C600 IPU: 1472 tiles, addressed by physical number, each with
// c600_tile_sram_bytes of lazily allocated SRAM (see tile_memory.hpp), a host link
// that moves data in packets, and a bulk-synchronous program engine.
//
// Simulated host time: each H2D packet lands at its issue time plus its jitter
// delay. A program run sees only packets that had landed when it started; packets
// still in flight land when the run ends. fence() advances host time until every
// issued packet has landed. D2H reads see landed packets only.
//
// Everything is deterministic: the same config and the same calls give the same
// bytes and cycles. Not thread-safe; one device per runner.
class Device {
  public:
    explicit Device(DeviceConfig config = {});
    Device(Device&&) noexcept;
    Device& operator=(Device&&) noexcept;
    ~Device();

    // H2D: writes `data` to `tile`'s SRAM at `address`, as packets of at most
    // host_packet_payload_bytes routed by the tile's route fields. The whole
    // request is checked before any packet is issued: Tile(tile) for a tile
    // number >= 1472, Address(address) when the range does not fit in SRAM. An
    // empty write issues nothing. The bytes are visible once the packets land.
    std::expected<void, ipu_exchange::ExchangeError> host_write(std::uint16_t tile,
                                                                std::uint32_t address,
                                                                std::span<const std::uint8_t> data);

    // Waits (in simulated time) until every issued H2D packet has landed.
    void fence();

    // D2H: reads out.size() bytes of `tile`'s SRAM at `address` into `out`, in
    // packets routed like H2D packets. Errors as host_write; on error `out` is
    // left untouched.
    std::expected<void, ipu_exchange::ExchangeError> host_read(std::uint16_t tile,
                                                               std::uint32_t address,
                                                               std::span<std::uint8_t> out);

    // host_read into a fresh vector of `length` bytes.
    std::expected<std::vector<std::uint8_t>, ipu_exchange::ExchangeError> host_read(
        std::uint16_t tile, std::uint32_t address, std::uint32_t length);

    // A host buffer of `length` bytes that tiles can send to (HostSend). Its bytes
    // start as unwritten_host_fill.
    HostBufferId create_host_buffer(std::uint32_t length);

    // The current contents of a host buffer; an empty span for an unknown id.
    std::span<const std::uint8_t> host_buffer(HostBufferId buffer) const;

    // Runs `program` to its end. The whole program is checked first, and nothing
    // runs when it is refused:
    // - Tile(n): a codelet or host send on a tile number >= 1472.
    // - Address(a): a codelet range or host send range outside SRAM (a = its start).
    // - Count(length): a host send of length 0, or beyond its host buffer's end.
    // - ReceiverSet: a host send to an unknown host buffer.
    // - Schedule("overlapping host buffer writes in one phase"): two host sends of
    //   one superstep write overlapping bytes of one host buffer.
    // While running, a codelet body that touches memory outside its declared ranges
    // ends the run with Address(first address of that access); memory then holds
    // what the run wrote up to that point.
    std::expected<RunCycles, ipu_exchange::ExchangeError> run(const Program& program);

    // Cycle totals of a physical tile over all runs; zeros for a tile >= 1472.
    TileCycles tile_cycles(std::uint16_t tile) const;

    // The recorded steps of a physical tile over all runs, in time order; empty for
    // a tile >= 1472 or when the config turned recording off.
    std::span<const StepRecord> steps(std::uint16_t tile) const;

    // The device's cycle counter: the end of the last run (0 before any).
    std::uint64_t cycle() const;

    // Simulated host time in nanoseconds.
    std::uint64_t host_time_ns() const;

    // The fault this device injects (Fault::None normally).
    Fault fault() const;

    // Reports that the runner itself applied the configured fault (for faults the
    // device cannot apply, e.g. the profile faults), through the same sink and only
    // the first time: "ipu-sim: injected fault <name>: <detail>". Does nothing when
    // no fault is configured.
    void report_fault(std::string_view detail);

    // Bytes of tile SRAM allocated so far, over all tiles.
    std::size_t resident_bytes() const;

  private:
    struct State;
    std::unique_ptr<State> state_;
};

}  // namespace ipu_sim
