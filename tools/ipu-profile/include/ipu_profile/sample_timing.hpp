#pragma once

#include <cstdint>
#include <ipu_package/profile_report.hpp>
#include <optional>

namespace ipu_profile {

// Whether a sample's end cycle lies before its start cycle. Such a sample is kept
// as stored but covers no cycles: its counter values cannot be trusted.
constexpr bool is_reversed(const ipu_package::CycleSample& sample) {
    return sample.end_cycle < sample.start_cycle;
}

// The cycles a sample covers: end minus start, or 0 for a reversed sample.
constexpr std::uint32_t sample_cycles(const ipu_package::CycleSample& sample) {
    return is_reversed(sample) ? 0u : sample.end_cycle - sample.start_cycle;
}

// `cycles` of a clock running at `clock_hz`, in microseconds; nothing when the
// clock rate is 0 and so says nothing about time.
constexpr std::optional<double> cycles_to_microseconds(std::uint64_t cycles,
                                                       std::uint64_t clock_hz) {
    if (clock_hz == 0) {
        return std::nullopt;
    }
    return static_cast<double>(cycles) * 1e6 / static_cast<double>(clock_hz);
}

}  // namespace ipu_profile
