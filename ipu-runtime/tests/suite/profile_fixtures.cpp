#include "profile_fixtures.hpp"

namespace suite_test {

using ipu_package::ProfileStepKind;

ipu_package::ProfileReport passing_profile() {
    constexpr ProfileStepKind kinds[] = {ProfileStepKind::Exchange, ProfileStepKind::Compute,
                                         ProfileStepKind::Synchronization, ProfileStepKind::Idle};
    ipu_package::ProfileReport profile;
    profile.clock_hz = 1'850'000'000;
    for (std::uint32_t tile = 0; tile < 1472; ++tile) {
        ipu_package::CycleSample sample;
        sample.step.kind = kinds[tile % 4];
        sample.step.operation = "gemm";
        sample.end_cycle = 10;
        profile.tiles.push_back({tile, {sample}});
    }
    return profile;
}

}  // namespace suite_test
