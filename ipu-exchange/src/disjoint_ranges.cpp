#include "ipu_exchange/disjoint_ranges.hpp"

#include <algorithm>

namespace ipu_exchange {

std::expected<void, ExchangeError> check_disjoint(std::vector<MemoryRange> ranges,
                                                  std::string_view conflict) {
    std::ranges::sort(ranges, [](const MemoryRange& a, const MemoryRange& b) {
        return a.memory != b.memory ? a.memory < b.memory : a.begin < b.begin;
    });
    // Sorted by start, a range that overlaps any later one overlaps its successor.
    for (std::size_t i = 1; i < ranges.size(); ++i) {
        if (ranges[i].memory == ranges[i - 1].memory && ranges[i].begin < ranges[i - 1].end) {
            return std::unexpected(ExchangeError::Schedule{conflict});
        }
    }
    return {};
}

}  // namespace ipu_exchange
