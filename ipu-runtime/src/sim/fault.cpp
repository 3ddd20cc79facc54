#include "ipu_sim/fault.hpp"

#include <array>

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

}  // namespace ipu_sim
