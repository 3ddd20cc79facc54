#pragma once

#include <cstddef>
#include <string>

#include "ipu_profile/profile_summary.hpp"

namespace ipu_profile {

// The summary as aligned plain text for a terminal: clock, tiles, span, cycles per
// kind, the `top` busiest and idlest tiles and the `top` costliest steps. Names from
// the profile appear with their control characters escaped.
std::string summary_text(const ProfileSummary& summary, std::size_t top);

}  // namespace ipu_profile
