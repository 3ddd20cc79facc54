#include "ipu_runner/device_settings.hpp"

namespace ipu_runner {

SettingError from_device_setting(const ipu_sim::SettingError& error) {
    return SettingError{error.variable, error.value, "expected " + error.expected};
}

Setting<ipu_sim::DeviceConfig> device_config_setting() {
    auto config = ipu_sim::device_config_from_environment();
    if (!config) {
        return std::unexpected(from_device_setting(config.error()));
    }
    return std::move(*config);
}

Setting<ipu_sim::Device> open_device() {
    auto config = device_config_setting();
    if (!config) {
        return std::unexpected(std::move(config.error()));
    }
    return ipu_sim::Device(std::move(*config));
}

}  // namespace ipu_runner
