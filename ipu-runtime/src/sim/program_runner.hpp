#pragma once

#include <expected>

#include "device_state.hpp"
#include "ipu_exchange/exchange_error.hpp"
#include "ipu_sim/device.hpp"
#include "ipu_sim/program.hpp"

namespace ipu_sim {

// Checks and runs `program` on the device state, superstep by superstep, recording
// every tile's steps; the implementation of Device::run.
std::expected<RunCycles, ipu_exchange::ExchangeError> run_program(DeviceState& state,
                                                                  const Program& program);

}  // namespace ipu_sim
