#pragma once

#include <cstdint>
#include <expected>
#include <span>
#include <vector>

#include "ipu_exchange/exchange_error.hpp"
#include "ipu_sim/program.hpp"

namespace ipu_sim {

// Checks everything in `program` that can be checked before it runs, against the
// device's host buffers, with the errors Device::run documents.
std::expected<void, ipu_exchange::ExchangeError> check_program(
    const Program& program, std::span<const std::vector<std::uint8_t>> host_buffers);

}  // namespace ipu_sim
