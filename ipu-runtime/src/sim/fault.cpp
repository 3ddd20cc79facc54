#include "ipu_sim/fault.hpp"

#include <array>
#include <cstdlib>
#include <string>

namespace ipu_sim {
namespace {

struct FaultName {
    Fault fault;
    std::string_view name;
};

constexpr std::array<FaultName, 15> catalogue{{
    {Fault::RouteLaneStuck, "route-lane-stuck"},
    {Fault::RouteRowStuck, "route-row-stuck"},
    {Fault::H2dPacketDrop, "h2d-packet-drop"},
    {Fault::H2dPacketDuplicate, "h2d-packet-duplicate"},
    {Fault::H2dLateLanding, "h2d-late-landing"},
    {Fault::ExchangeDrop, "exchange-drop"},
    {Fault::ExchangeBitFlip, "exchange-bit-flip"},
    {Fault::MulticastReceiverDrop, "multicast-receiver-drop"},
    {Fault::SramAddressAlias, "sram-address-alias"},
    {Fault::ComputeBitFlip, "compute-bit-flip"},
    {Fault::SkippedSync, "skipped-sync"},
    {Fault::Fp16Accumulation, "fp16-accumulation"},
    {Fault::ProfileMissingTile, "profile-missing-tile"},
    {Fault::ProfileMissingKind, "profile-missing-kind"},
    {Fault::ProfileZeroClock, "profile-zero-clock"},
}};

constexpr std::array<Fault, catalogue.size()> faults_in_order = [] {
    std::array<Fault, catalogue.size()> faults{};
    for (std::size_t i = 0; i < catalogue.size(); ++i) {
        faults[i] = catalogue[i].fault;
    }
    return faults;
}();

std::string catalogue_list() {
    std::string list = "one of";
    for (const FaultName& entry : catalogue) {
        list += ' ';
        list += entry.name;
    }
    return list;
}

}  // namespace

std::string_view fault_name(Fault fault) {
    for (const FaultName& entry : catalogue) {
        if (entry.fault == fault) {
            return entry.name;
        }
    }
    return "none";
}

std::span<const Fault> all_faults() {
    return faults_in_order;
}

std::optional<Fault> fault_from_name(std::string_view name) {
    for (const FaultName& entry : catalogue) {
        if (entry.name == name) {
            return entry.fault;
        }
    }
    return std::nullopt;
}

std::expected<Fault, SettingError> fault_from_setting(std::optional<std::string_view> value) {
    if (!value || value->empty()) {
        return Fault::None;
    }
    if (const std::optional<Fault> fault = fault_from_name(*value)) {
        return *fault;
    }
    return std::unexpected(SettingError{"IPU_SIM_FAULT", std::string(*value), catalogue_list()});
}

std::expected<Fault, SettingError> fault_from_environment() {
    const char* value = std::getenv("IPU_SIM_FAULT");
    return fault_from_setting(value ? std::optional<std::string_view>(value) : std::nullopt);
}

}  // namespace ipu_sim
