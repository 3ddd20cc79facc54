#pragma once

#include <cstddef>

#include "ipu_profile/json_forms.hpp"
#include "ipu_profile/profile_summary.hpp"

namespace ipu_profile {

// The summary for machines: the same facts as the plain text, with full numbers.
// Shares are fractions from 0 to 1; microseconds are null when the clock rate is 0,
// and the span is null for a profile without samples.
Json summary_json(const ProfileSummary& summary, std::size_t top);

// How a step kind is written: by its name, or by its index in all_step_kinds for a
// reader that holds the list of names once.
enum class StepKindForm { name, index };

// The first `count` of `summary.steps`, costliest first, each with its operation,
// kernel, kinds written in `form`, samples and cycles.
Json costliest_steps_json(const ProfileSummary& summary, std::size_t count, StepKindForm form);

}  // namespace ipu_profile
