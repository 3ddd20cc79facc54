#pragma once

#include <cstdint>
#include <expected>
#include <string_view>
#include <vector>

#include "ipu_exchange/exchange_error.hpp"

namespace ipu_exchange {

// The bytes [begin, end) of one memory among several of a kind; `memory` names
// which one (a tile number, a host buffer index). Never empty: begin < end.
struct MemoryRange {
    std::uint32_t memory;
    std::uint64_t begin;
    std::uint64_t end;
};

// Nothing when no two of `ranges` share a byte of one memory, Schedule(conflict)
// otherwise. `conflict` must be static text, since the error keeps a view of it.
std::expected<void, ExchangeError> check_disjoint(std::vector<MemoryRange> ranges,
                                                  std::string_view conflict);

}  // namespace ipu_exchange
