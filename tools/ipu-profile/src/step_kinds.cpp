#include "ipu_profile/step_kinds.hpp"

namespace ipu_profile {

std::string_view step_kind_name(ProfileStepKind kind) {
    switch (kind) {
        case ProfileStepKind::Exchange:
            return "exchange";
        case ProfileStepKind::Compute:
            return "compute";
        case ProfileStepKind::Synchronization:
            return "synchronization";
        case ProfileStepKind::Idle:
            return "idle";
    }
    return "unknown";
}

}  // namespace ipu_profile
