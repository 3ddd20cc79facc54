#pragma once

#include "ipu_runner/settings.hpp"
#include "ipu_sim/device.hpp"
#include "ipu_sim/device_config.hpp"
#include "ipu_sim/setting_error.hpp"

namespace ipu_runner {

// A device setting the device refused, in the runners' own form: same variable and
// value, and "expected ..." as the problem.
SettingError from_device_setting(const ipu_sim::SettingError& error);

// The device settings of this process (IPU_HOST_WRITE_JITTER_MAX_US,
// IPU_HOST_WRITE_JITTER_SEED, IPU_SIM_FAULT), read and checked by the device's own
// functions. Fault reports go to standard error.
Setting<ipu_sim::DeviceConfig> device_config_setting();

// A fresh device configured by device_config_setting().
Setting<ipu_sim::Device> open_device();

}  // namespace ipu_runner
