#pragma once

#include <cstdint>
#include <expected>
#include <functional>
#include <optional>
#include <string_view>

#include "ipu_sim/fault.hpp"
#include "ipu_sim/setting_error.hpp"

namespace ipu_sim {

// The seed of the host-write jitter when only its maximum is given.
inline constexpr std::uint64_t default_host_write_jitter_seed = 0x71756c6c6d657368;  // "qullmesh"

// Host-write jitter: each H2D packet lands a uniformly drawn delay of 0 to max_us
// microseconds (nanosecond resolution) of simulated time after it was issued.
// max_us == 0 means every packet lands as it is issued.
struct HostWriteJitter {
    std::uint32_t max_us = 0;
    std::uint64_t seed = default_host_write_jitter_seed;
};

// Receives the one-line report of an injected fault, without a line ending.
using FaultSink = std::function<void(std::string_view line)>;

struct DeviceConfig {
    HostWriteJitter jitter{};
    Fault fault = Fault::None;
    // Where fault reports go; an empty sink means standard error (one line each).
    FaultSink fault_sink{};
    // Whether runs record every step (Device::steps); cycle totals are kept anyway.
    bool record_steps = true;
};

// The jitter that IPU_HOST_WRITE_JITTER_MAX_US / IPU_HOST_WRITE_JITTER_SEED values
// ask for. Both are optional. The maximum is unsigned decimal microseconds up to
// 4294967294; the seed is unsigned 64-bit decimal or 0x-prefixed hexadecimal. An
// absent or empty value takes the default. Any other value is a SettingError that
// names the variable and the value.
std::expected<HostWriteJitter, SettingError> host_write_jitter_from_settings(
    std::optional<std::string_view> max_us, std::optional<std::string_view> seed);

// The device settings of this process: jitter from the two variables above and the
// fault from IPU_SIM_FAULT (fault_from_environment). The sink is left empty.
std::expected<DeviceConfig, SettingError> device_config_from_environment();

}  // namespace ipu_sim
