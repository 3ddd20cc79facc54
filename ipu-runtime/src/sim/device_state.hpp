#pragma once

#include <cstdint>
#include <vector>

#include "cycle_ledger.hpp"
#include "fault_injector.hpp"
#include "host_link.hpp"
#include "ipu_sim/device_config.hpp"
#include "ipu_sim/tile_memory.hpp"

namespace ipu_sim {

// Everything a simulated device holds. Members refer to each other, so a state
// never moves once built.
struct DeviceState {
    explicit DeviceState(DeviceConfig config);
    DeviceState(const DeviceState&) = delete;
    DeviceState& operator=(const DeviceState&) = delete;

    FaultInjector faults;
    std::vector<TileMemory> tiles;
    HostLink link;
    std::vector<std::vector<std::uint8_t>> host_buffers;
    CycleLedger ledger;
};

}  // namespace ipu_sim
