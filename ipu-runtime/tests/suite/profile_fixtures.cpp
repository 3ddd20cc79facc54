#include "profile_fixtures.hpp"

#include <fcntl.h>
#include <unistd.h>

#include <stdexcept>

#include "ipu_package/profile_writer.hpp"

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

void write_profile_file(const ipu_package::ProfileReport& profile, const std::string& path,
                        std::uint32_t schema_version) {
    const int file = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (file < 0) {
        throw std::runtime_error("cannot create " + path);
    }
    const auto written = ipu_package::write_profile(profile, schema_version, file);
    ::close(file);
    if (!written) {
        throw std::runtime_error("cannot write " + path + ": " + written.error().debug());
    }
}

}  // namespace suite_test
