#pragma once

#include <cstdint>
#include <vector>

#include "ipu_sim/codelet.hpp"

namespace ipu_host_runner {

// For the data range [address, address + bytes): every range that the data would
// alias, outside the data itself, if an address bit from 12 to 19 were ignored,
// merged and in address order.
std::vector<ipu_sim::ByteRange> alias_sentinels(std::uint32_t address, std::uint32_t bytes);

// Total bytes of the ranges alias_sentinels() gives.
std::uint64_t alias_sentinel_bytes(std::uint32_t address, std::uint32_t bytes);

}  // namespace ipu_host_runner
