#include "ipu_runner/device_settings.hpp"

#include <limits>
#include <vector>

#include "ipu_runner_contract/names.hpp"

namespace ipu_runner {

namespace contract = ipu_runner_contract;
namespace {

Setting<ipu_sim::HostWriteJitter> host_write_jitter_setting() {
    const auto max_us =
        decimal_setting(contract::host_write_jitter_max_us, max_host_write_jitter_us);
    if (!max_us) {
        return std::unexpected(max_us.error());
    }
    const auto seed =
        number_setting(contract::host_write_jitter_seed, std::numeric_limits<std::uint64_t>::max());
    if (!seed) {
        return std::unexpected(seed.error());
    }
    return ipu_sim::HostWriteJitter{
        .max_us = static_cast<std::uint32_t>(max_us->value_or(0)),
        .seed = seed->value_or(ipu_sim::default_host_write_jitter_seed),
    };
}

Setting<ipu_sim::Fault> fault_setting() {
    const std::span<const ipu_sim::Fault> faults = ipu_sim::all_faults();
    std::vector<std::string_view> names;
    for (const ipu_sim::Fault fault : faults) {
        names.push_back(ipu_sim::fault_name(fault));
    }
    const auto chosen = choice_setting(contract::sim_fault, names, "fault");
    if (!chosen) {
        return std::unexpected(chosen.error());
    }
    return chosen->has_value() ? faults[**chosen] : ipu_sim::Fault::None;
}

}  // namespace

Setting<ipu_sim::DeviceConfig> device_config_setting() {
    const auto jitter = host_write_jitter_setting();
    if (!jitter) {
        return std::unexpected(jitter.error());
    }
    const auto fault = fault_setting();
    if (!fault) {
        return std::unexpected(fault.error());
    }
    return ipu_sim::DeviceConfig{.jitter = *jitter, .fault = *fault};
}

Setting<ipu_sim::Device> open_device() {
    auto config = device_config_setting();
    if (!config) {
        return std::unexpected(std::move(config.error()));
    }
    return ipu_sim::Device(std::move(*config));
}

}  // namespace ipu_runner
