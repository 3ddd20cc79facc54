#include "alias_sentinels.hpp"

#include <algorithm>

namespace ipu_host_runner {
namespace {

constexpr unsigned lowest_alias_bit = 12;
constexpr unsigned highest_alias_bit = 19;

struct Interval {
    std::uint64_t begin;
    std::uint64_t end;
};

std::vector<ipu_sim::ByteRange> merged(std::vector<Interval> intervals) {
    std::sort(intervals.begin(), intervals.end(),
              [](const Interval& a, const Interval& b) { return a.begin < b.begin; });
    std::vector<Interval> joined;
    for (const Interval& interval : intervals) {
        if (!joined.empty() && interval.begin <= joined.back().end) {
            joined.back().end = std::max(joined.back().end, interval.end);
        } else {
            joined.push_back(interval);
        }
    }
    std::vector<ipu_sim::ByteRange> ranges;
    for (const Interval& interval : joined) {
        ranges.push_back({static_cast<std::uint32_t>(interval.begin),
                          static_cast<std::uint32_t>(interval.end - interval.begin)});
    }
    return ranges;
}

}  // namespace

std::vector<ipu_sim::ByteRange> alias_sentinels(std::uint32_t address, std::uint32_t bytes) {
    const Interval data{address, std::uint64_t{address} + bytes};
    std::vector<Interval> sentinels;
    for (unsigned bit = lowest_alias_bit; bit <= highest_alias_bit; ++bit) {
        const std::uint64_t block = std::uint64_t{1} << bit;
        // Blocks with the bit set are the odd ones; each aliases the block below it.
        for (std::uint64_t start = data.begin / block * block; start < data.end; start += block) {
            if ((start / block) % 2 == 0) {
                continue;
            }
            const Interval inside{std::max(start, data.begin), std::min(start + block, data.end)};
            const Interval alias{inside.begin - block, inside.end - block};
            if (alias.end <= data.begin || alias.begin >= data.end) {
                sentinels.push_back(alias);
            }
        }
    }
    return merged(std::move(sentinels));
}

std::uint64_t alias_sentinel_bytes(std::uint32_t address, std::uint32_t bytes) {
    std::uint64_t total = 0;
    for (const ipu_sim::ByteRange& range : alias_sentinels(address, bytes)) {
        total += range.length;
    }
    return total;
}

}  // namespace ipu_host_runner
