#pragma once

#include "ipu_runner/settings.hpp"
#include "ipu_sim/device.hpp"
#include "ipu_sim/device_config.hpp"

namespace ipu_runner {

// The largest IPU_HOST_WRITE_JITTER_MAX_US a runner accepts.
inline constexpr std::uint64_t max_host_write_jitter_us = 4'294'967'294;

// The device settings of this process, read like every other runner setting
// (settings.hpp), in this order:
// - IPU_HOST_WRITE_JITTER_MAX_US: decimal microseconds up to
//   max_host_write_jitter_us; absent means no jitter.
// - IPU_HOST_WRITE_JITTER_SEED: an unsigned 64-bit number, decimal or 0x-prefixed
//   hexadecimal; absent means ipu_sim::default_host_write_jitter_seed.
// - IPU_SIM_FAULT: a fault's catalogue name (ipu_sim::fault_name); absent means
//   none. Refused with a problem that lists the catalogue.
// The first refused setting is the error. Fault reports go to standard error.
Setting<ipu_sim::DeviceConfig> device_config_setting();

// A fresh device configured by device_config_setting().
Setting<ipu_sim::Device> open_device();

}  // namespace ipu_runner
