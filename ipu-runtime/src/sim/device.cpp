#include "ipu_sim/device.hpp"

#include <string>

#include "device_state.hpp"
#include "ipu_exchange/topology.hpp"
#include "program_runner.hpp"

namespace ipu_sim {

using ipu_exchange::ExchangeError;

namespace {

// The SRAM address bits a faulty decoder ignores.
constexpr std::uint32_t aliased_address_bit = 1u << 18;

std::vector<TileMemory> make_tiles(FaultInjector& faults) {
    std::vector<TileMemory> tiles;
    tiles.reserve(ipu_exchange::c600_tile_count);
    for (std::uint16_t tile = 0; tile < ipu_exchange::c600_tile_count; ++tile) {
        if (!faults.is(Fault::SramAddressAlias)) {
            tiles.emplace_back();
            continue;
        }
        tiles.emplace_back(aliased_address_bit, [&faults, tile](std::uint32_t address) {
            if (!faults.reported()) {
                faults.report("tile " + std::to_string(tile) + " address " +
                              std::to_string(address) + " decoded as " +
                              std::to_string(address & ~aliased_address_bit));
            }
        });
    }
    return tiles;
}

// The checks of a host transfer, in the order host_write documents.
std::expected<void, ExchangeError> check_host_range(std::uint16_t tile, std::uint32_t address,
                                                    std::size_t length) {
    if (auto ok = ipu_exchange::check_c600_tile(tile); !ok) {
        return ok;
    }
    return ipu_exchange::check_c600_sram_range(address, length);
}

}  // namespace

DeviceState::DeviceState(DeviceConfig config)
    : faults(config.fault, std::move(config.fault_sink)),
      tiles(make_tiles(faults)),
      link(config.jitter, faults, tiles),
      ledger(config.record_steps) {}

struct Device::State : DeviceState {
    using DeviceState::DeviceState;
};

Device::Device(DeviceConfig config) : state_(std::make_unique<State>(std::move(config))) {}
Device::Device(Device&&) noexcept = default;
Device& Device::operator=(Device&&) noexcept = default;
Device::~Device() = default;

std::expected<void, ExchangeError> Device::host_write(std::uint16_t tile, std::uint32_t address,
                                                      std::span<const std::uint8_t> data) {
    if (auto ok = check_host_range(tile, address, data.size()); !ok) {
        return ok;
    }
    return state_->link.write(tile, address, data);
}

void Device::fence() {
    state_->link.fence();
}

std::expected<void, ExchangeError> Device::host_read(std::uint16_t tile, std::uint32_t address,
                                                     std::span<std::uint8_t> out) {
    if (auto ok = check_host_range(tile, address, out.size()); !ok) {
        return ok;
    }
    return state_->link.read(tile, address, out);
}

std::expected<std::vector<std::uint8_t>, ExchangeError> Device::host_read(std::uint16_t tile,
                                                                          std::uint32_t address,
                                                                          std::uint32_t length) {
    if (auto ok = check_host_range(tile, address, length); !ok) {
        return std::unexpected(ok.error());
    }
    std::vector<std::uint8_t> bytes(length);
    if (auto ok = state_->link.read(tile, address, bytes); !ok) {
        return std::unexpected(ok.error());
    }
    return bytes;
}

HostBufferId Device::create_host_buffer(std::uint32_t length) {
    state_->host_buffers.emplace_back(length, unwritten_host_fill);
    return HostBufferId{static_cast<std::uint32_t>(state_->host_buffers.size() - 1)};
}

std::span<const std::uint8_t> Device::host_buffer(HostBufferId buffer) const {
    if (buffer.index >= state_->host_buffers.size()) {
        return {};
    }
    return state_->host_buffers[buffer.index];
}

std::expected<RunCycles, ExchangeError> Device::run(const Program& program) {
    return run_program(*state_, program);
}

TileCycles Device::tile_cycles(std::uint16_t tile) const {
    return state_->ledger.totals(tile);
}

std::span<const StepRecord> Device::steps(std::uint16_t tile) const {
    return state_->ledger.steps(tile);
}

std::uint64_t Device::cycle() const {
    return state_->ledger.cycle();
}

std::uint64_t Device::host_time_ns() const {
    return state_->link.now_ns();
}

Fault Device::fault() const {
    return state_->faults.fault();
}

void Device::report_fault(std::string_view detail) {
    state_->faults.report(detail);
}

std::size_t Device::resident_bytes() const {
    std::size_t total = 0;
    for (const TileMemory& tile : state_->tiles) {
        total += tile.resident_bytes();
    }
    return total;
}

}  // namespace ipu_sim
