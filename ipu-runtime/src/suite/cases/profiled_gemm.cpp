#include "cases/profiled_gemm.hpp"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>

#include "case_failure.hpp"
#include "device_lock.hpp"
#include "host_test_and_jitter.hpp"
#include "ipu_exchange/topology.hpp"
#include "ipu_runner_contract/names.hpp"
#include "ipu_text/os_error.hpp"
#include "launch.hpp"
#include "verdict.hpp"

namespace hardware_suite {

namespace contract = ipu_runner_contract;
namespace {

using ipu_package::ProfileReport;
using ipu_package::ProfileStepKind;

constexpr std::size_t expected_tile_count = ipu_exchange::c600_tile_count;

struct KindCheck {
    ProfileStepKind kind;
    const char* message;
};

// The kinds in the order they are checked, each with the message of its absence.
// Fixed failure messages, matched byte for byte, odd indents too: never reflow or reword them.
constexpr KindCheck kind_checks[] = {
    {ProfileStepKind::Exchange,
     "assertion failed: profile.tiles.iter().any(|tile|\n"
     "        {\n"
     "            tile.samples.iter().any(|sample|\n"
     "                    sample.step.kind == ipu_package::ProfileStepKind::Exchange)\n"
     "        })"},
    {ProfileStepKind::Compute,
     "assertion failed: profile.tiles.iter().any(|tile|\n"
     "        {\n"
     "            tile.samples.iter().any(|sample|\n"
     "                    sample.step.kind == ipu_package::ProfileStepKind::Compute)\n"
     "        })"},
    {ProfileStepKind::Synchronization,
     "assertion failed: profile.tiles.iter().any(|tile|\n"
     "        {\n"
     "            tile.samples.iter().any(|sample|\n"
     "                    sample.step.kind ==\n"
     "                        ipu_package::ProfileStepKind::Synchronization)\n"
     "        })"},
    {ProfileStepKind::Idle,
     "assertion failed: profile.tiles.iter().any(|tile|\n"
     "        {\n"
     "            tile.samples.iter().any(|sample|\n"
     "                    sample.step.kind == ipu_package::ProfileStepKind::Idle)\n"
     "        })"},
};

bool has_kind(const ProfileReport& profile, ProfileStepKind kind) {
    return std::ranges::any_of(profile.tiles, [kind](const auto& tile) {
        return std::ranges::any_of(tile.samples,
                                   [kind](const auto& sample) { return sample.step.kind == kind; });
    });
}

ProfileReport read_profile(const std::string& path) {
    const int file = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (file < 0) {
        fail_case(unwrap_failure(ipu_text::os_error_debug(errno)));
    }
    auto profile = ProfileReport::read(ipu_package::InputStream::from_fd(file));
    if (!profile) {
        fail_case(unwrap_failure(profile.error().debug()));
    }
    return std::move(*profile);
}

}  // namespace

std::string gemm_profile_path() {
    const char* tmpdir = std::getenv("TMPDIR");
    std::string path = tmpdir != nullptr ? tmpdir : "/tmp";
    if (!path.empty() && path.back() != '/') {
        path += '/';
    }
    return path + "quillmesh-gemm-profile-" + std::to_string(::getpid()) + ".capnp";
}

// Its assertion texts are fixed failure messages, matched byte for byte: never reword them.
std::optional<std::string> profile_check_failure(const ProfileReport& profile) {
    if (profile.tiles.size() != expected_tile_count) {
        return "assertion `left == right` failed\n  left: " + std::to_string(profile.tiles.size()) +
               "\n right: " + std::to_string(expected_tile_count);
    }
    if (profile.clock_hz == 0) {
        return "assertion failed: profile.clock_hz > 0";
    }
    if (!std::ranges::all_of(profile.tiles,
                             [](const auto& tile) { return !tile.samples.empty(); })) {
        return "assertion failed: profile.tiles.iter().all(|tile| !tile.samples.is_empty())";
    }
    for (const KindCheck& check : kind_checks) {
        if (!has_kind(profile, check.kind)) {
            return check.message;
        }
    }
    return std::nullopt;
}

void blocked_gemm_with_cycle_profile_works() {
    const DeviceGuard guard = device();
    const std::string profile_path = gemm_profile_path();
    RunnerCommand command(contract::gemm_runner);
    command.set(contract::gemm_dimension, "128");
    command.set(contract::profile_output, profile_path);
    command.set(contract::gemm_sram_check_block, "1,1");
    configure_host_write_jitter(command);
    require_success("blocked GEMM with per-tile cycle profile",
                    run_runner(command, "launch profiled blocked GEMM hardware test runner"));

    const ProfileReport profile = read_profile(profile_path);
    if (const auto failure = profile_check_failure(profile)) {
        fail_case(*failure);
    }
    if (::unlink(profile_path.c_str()) != 0) {
        fail_case(unwrap_failure(ipu_text::os_error_debug(errno)));
    }
}

}  // namespace hardware_suite
