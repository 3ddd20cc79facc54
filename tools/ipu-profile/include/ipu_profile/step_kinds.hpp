#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <ipu_package/profile_report.hpp>
#include <string_view>

namespace ipu_profile {

using ipu_package::ProfileStepKind;

inline constexpr std::size_t step_kind_count = 4;

// Every step kind, in the order of their values; tables indexed by kind follow it.
inline constexpr std::array<ProfileStepKind, step_kind_count> all_step_kinds = {
    ProfileStepKind::Exchange,
    ProfileStepKind::Compute,
    ProfileStepKind::Synchronization,
    ProfileStepKind::Idle,
};

// Cycles counted per step kind, indexed by step_kind_index().
using KindCycles = std::array<std::uint64_t, step_kind_count>;

constexpr std::size_t step_kind_index(ProfileStepKind kind) {
    return static_cast<std::size_t>(kind);
}

// The kind's name as the profile schema spells it: "exchange", "compute",
// "synchronization" or "idle".
std::string_view step_kind_name(ProfileStepKind kind);

}  // namespace ipu_profile
