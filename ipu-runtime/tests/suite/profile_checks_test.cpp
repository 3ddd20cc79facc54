#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <functional>

#include "cases/profiled_gemm.hpp"
#include "profile_fixtures.hpp"
#include "test_support/scoped_environment.hpp"

namespace hardware_suite {
namespace {

using ipu_package::ProfileReport;
using ipu_package::ProfileStepKind;

std::string kind_message(std::string_view kind_line) {
    return "assertion failed: profile.tiles.iter().any(|tile|\n        {\n            "
           "tile.samples.iter().any(|sample|\n" +
           std::string(kind_line) + ")\n        })";
}

void drop_kind(ProfileReport& profile, ProfileStepKind kind) {
    for (auto& tile : profile.tiles) {
        for (auto& sample : tile.samples) {
            if (sample.step.kind == kind) {
                sample.step.kind = ProfileStepKind::Exchange;
            }
        }
    }
}

TEST(ProfileChecks, ReportTheFirstFailingCheckInTheirFixedOrder) {
    const struct {
        std::string what;
        std::function<void(ProfileReport&)> change;
        std::optional<std::string> message;
    } rows[] = {
        {"a passing profile", [](ProfileReport&) {}, std::nullopt},
        {"1471 tiles", [](ProfileReport& p) { p.tiles.pop_back(); },
         "assertion `left == right` failed\n  left: 1471\n right: 1472"},
        {"no tiles", [](ProfileReport& p) { p.tiles.clear(); },
         "assertion `left == right` failed\n  left: 0\n right: 1472"},
        {"a zero clock and an empty tile",
         [](ProfileReport& p) {
             p.clock_hz = 0;
             p.tiles[7].samples.clear();
         },
         "assertion failed: profile.clock_hz > 0"},
        {"one tile without samples", [](ProfileReport& p) { p.tiles[1471].samples.clear(); },
         "assertion failed: profile.tiles.iter().all(|tile| !tile.samples.is_empty())"},
        {"no exchange",
         [](ProfileReport& p) {
             for (auto& tile : p.tiles) {
                 tile.samples[0].step.kind = ProfileStepKind::Idle;
             }
         },
         kind_message(
             "                    sample.step.kind == ipu_package::ProfileStepKind::Exchange")},
        {"no compute and no idle",
         [](ProfileReport& p) {
             drop_kind(p, ProfileStepKind::Idle);
             drop_kind(p, ProfileStepKind::Compute);
         },
         kind_message(
             "                    sample.step.kind == ipu_package::ProfileStepKind::Compute")},
        {"no synchronization",
         [](ProfileReport& p) { drop_kind(p, ProfileStepKind::Synchronization); },
         kind_message("                    sample.step.kind ==\n"
                      "                        ipu_package::ProfileStepKind::Synchronization")},
        {"no idle", [](ProfileReport& p) { drop_kind(p, ProfileStepKind::Idle); },
         kind_message(
             "                    sample.step.kind == ipu_package::ProfileStepKind::Idle")},
        {"all four kinds on one tile only",
         [](ProfileReport& p) {
             for (auto& tile : p.tiles) {
                 tile.samples[0].step.kind = ProfileStepKind::Exchange;
             }
             auto& samples = p.tiles[900].samples;
             samples.resize(4, samples[0]);
             samples[1].step.kind = ProfileStepKind::Compute;
             samples[2].step.kind = ProfileStepKind::Synchronization;
             samples[3].step.kind = ProfileStepKind::Idle;
         },
         std::nullopt},
    };
    for (const auto& row : rows) {
        ProfileReport profile = suite_test::passing_profile();
        row.change(profile);
        EXPECT_EQ(profile_check_failure(profile), row.message) << row.what;
    }
}

TEST(GemmProfilePath, JoinsTheTemporaryDirectoryAndTheProcessId) {
    const std::string name = "quillmesh-gemm-profile-" + std::to_string(::getpid()) + ".capnp";
    {
        const test_support::ScopedEnvironment unset({}, {"TMPDIR"});
        EXPECT_EQ(gemm_profile_path(), "/tmp/" + name);
    }
    const struct {
        std::string tmpdir;
        std::string path;
    } rows[] = {
        {"/var/scratch", "/var/scratch/" + name},
        {"/var/scratch/", "/var/scratch/" + name},
        {"", name},
    };
    for (const auto& row : rows) {
        const test_support::ScopedEnvironment set({{"TMPDIR", row.tmpdir}});
        EXPECT_EQ(gemm_profile_path(), row.path) << "TMPDIR=" << row.tmpdir;
    }
}

}  // namespace
}  // namespace hardware_suite
