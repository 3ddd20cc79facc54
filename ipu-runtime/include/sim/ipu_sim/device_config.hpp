#pragma once

#include <cstdint>
#include <functional>
#include <string_view>

#include "ipu_sim/fault.hpp"

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

// Everything a device is told when it is made. A device reads nothing else: it
// never looks at the process environment.
struct DeviceConfig {
    HostWriteJitter jitter{};
    Fault fault = Fault::None;
    // Where fault reports go; an empty sink means standard error (one line each).
    FaultSink fault_sink{};
    // Whether runs record every step (Device::steps); cycle totals are kept anyway.
    bool record_steps = true;
};

}  // namespace ipu_sim
