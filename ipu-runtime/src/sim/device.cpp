#include "ipu_sim/device.hpp"

namespace ipu_sim {

using ipu_exchange::ExchangeError;

struct Device::State {
    DeviceConfig config;
};

Device::Device(DeviceConfig config) : state_(std::make_unique<State>(std::move(config))) {}
Device::Device(Device&&) noexcept = default;
Device& Device::operator=(Device&&) noexcept = default;
Device::~Device() = default;

std::expected<void, ExchangeError> Device::host_write(std::uint16_t, std::uint32_t,
                                                      std::span<const std::uint8_t>) {
    return std::unexpected(ExchangeError::HostPacket{});
}

void Device::fence() {}

std::expected<void, ExchangeError> Device::host_read(std::uint16_t, std::uint32_t,
                                                     std::span<std::uint8_t>) {
    return std::unexpected(ExchangeError::HostPacket{});
}

std::expected<std::vector<std::uint8_t>, ExchangeError> Device::host_read(std::uint16_t tile,
                                                                          std::uint32_t address,
                                                                          std::uint32_t length) {
    std::vector<std::uint8_t> bytes(length);
    if (auto ok = host_read(tile, address, bytes); !ok) {
        return std::unexpected(ok.error());
    }
    return bytes;
}

HostBufferId Device::create_host_buffer(std::uint32_t) {
    return HostBufferId{0};
}

std::span<const std::uint8_t> Device::host_buffer(HostBufferId) const {
    return {};
}

std::expected<RunCycles, ExchangeError> Device::run(const Program&) {
    return std::unexpected(ExchangeError::HostPacket{});
}

TileCycles Device::tile_cycles(std::uint16_t) const {
    return {};
}

std::span<const StepRecord> Device::steps(std::uint16_t) const {
    return {};
}

std::uint64_t Device::cycle() const {
    return 0;
}

std::uint64_t Device::host_time_ns() const {
    return 0;
}

Fault Device::fault() const {
    return state_->config.fault;
}

void Device::report_fault(std::string_view) {}

std::size_t Device::resident_bytes() const {
    return 0;
}

}  // namespace ipu_sim
