#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "ipu_exchange/exchange_schedule.hpp"
#include "ipu_sim/codelet.hpp"

namespace ipu_sim {

// A host buffer owned by a Device (Device::create_host_buffer).
struct HostBufferId {
    std::uint32_t index;

    friend bool operator==(const HostBufferId&, const HostBufferId&) = default;
};

// A device-initiated D2H: `tile` sends `length` bytes of its SRAM at `address` to
// bytes [buffer_offset, buffer_offset + length) of a host buffer.
struct HostSend {
    std::uint16_t tile = 0;
    std::uint32_t address = 0;
    std::uint32_t length = 0;
    HostBufferId buffer{};
    std::uint32_t buffer_offset = 0;
};

// One bulk-synchronous superstep: a compute phase (codelets, run in list order;
// several may share a tile), a chip-wide sync, then an exchange phase (the compiled
// tile-to-tile schedule, and tiles sending to host buffers). `operation` names the
// superstep in step records.
struct Superstep {
    std::string operation{};
    std::vector<Codelet> compute{};
    ipu_exchange::ExchangeSchedule exchange{};
    std::vector<HostSend> host_sends{};
};

struct Program {
    std::vector<Superstep> supersteps{};
};

}  // namespace ipu_sim
