// The profiled GEMM case as a process: the fake runner copies a prepared
// profile to the path the suite hands it.

#include <gtest/gtest.h>

#include <filesystem>

#include "profile_fixtures.hpp"
#include "suite_process.hpp"
#include "support/profile_fixtures.hpp"

namespace suite_test {
namespace {

namespace fs = std::filesystem;
using ipu_package::ProfileReport;

const std::string suite = SUITE_WITH_FAKE_RUNNERS;
const std::string gemm_case = "blocked_gemm_with_cycle_profile_works";

// The profiles left in `directory`.
std::vector<std::string> profiles_in(const std::string& directory) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(directory)) {
        const std::string name = entry.path().filename();
        if (name.starts_with("quillmesh-gemm-profile-")) {
            names.push_back(name);
        }
    }
    return names;
}

struct GemmRun {
    SuiteRun run;
    std::vector<RunnerRecord> records;
    std::vector<std::string> profiles_left;
};

// Runs the GEMM case with TMPDIR set to a scratch directory, the fake runner
// copying `prepared` (when given) to the profile path.
GemmRun run_gemm_case(const std::optional<ProfileReport>& prepared, std::uint32_t version = 1) {
    Scratch scratch;
    const std::string temporary = scratch.directory() + "/tmp";
    fs::create_directory(temporary);
    EnvironmentChanges changes = {{"TMPDIR", temporary}};
    if (prepared) {
        const std::string source = scratch.directory() + "/prepared.capnp";
        ipu_package::fixtures::write_report_file(*prepared, source, version);
        changes["FAKE_RUNNER_PROFILE"] = source;
    }
    GemmRun result;
    result.run = run_process(suite, {gemm_case}, logging_to(scratch, changes));
    result.records = scratch.records();
    result.profiles_left = profiles_in(temporary);
    return result;
}

bool reports(const SuiteRun& run, const std::string& message) {
    return run.out.find("\n" + message + "\n") != std::string::npos;
}

TEST(GemmCase, PassesOnAGoodProfileAndRemovesIt) {
    const GemmRun gemm = run_gemm_case(passing_profile());
    EXPECT_EQ(gemm.run.exit_code, 0) << gemm.run.out;
    EXPECT_TRUE(gemm.profiles_left.empty());
    ASSERT_EQ(gemm.records.size(), 1u);
    EXPECT_EQ(gemm.records[0].at("runner"), "ipu-gemm-e2e");
    EXPECT_EQ(gemm.records[0].at("env.IPU_GEMM_DIMENSION"), "128");
    EXPECT_EQ(gemm.records[0].at("env.IPU_GEMM_SRAM_CHECK_BLOCK"), "1,1");
    const std::string output = gemm.records[0].at("env.IPU_PROFILE_OUTPUT");
    EXPECT_TRUE(output.ends_with(".capnp") &&
                output.find("/tmp/quillmesh-gemm-profile-") != std::string::npos)
        << output;
}

TEST(GemmCase, FailsOnABadProfileAndLeavesItInPlace) {
    ProfileReport short_profile = passing_profile();
    short_profile.tiles.pop_back();
    ProfileReport stopped_clock = passing_profile();
    stopped_clock.clock_hz = 0;
    const struct {
        std::string what;
        ProfileReport profile;
        std::uint32_t version;
        std::string message;
    } rows[] = {
        {"1471 tiles", short_profile, 1,
         "assertion `left == right` failed\n  left: 1471\n right: 1472"},
        {"a zero clock", stopped_clock, 3, "assertion failed: profile.clock_hz > 0"},
        {"version 4", passing_profile(), 4,
         "called `Result::unwrap()` on an `Err` value: "
         "Invalid(\"unsupported profile schema version 4\")"},
    };
    for (const auto& row : rows) {
        const GemmRun gemm = run_gemm_case(row.profile, row.version);
        EXPECT_EQ(gemm.run.exit_code, 101) << row.what;
        EXPECT_TRUE(reports(gemm.run, row.message)) << row.what << ":\n" << gemm.run.out;
        EXPECT_EQ(gemm.profiles_left.size(), 1u) << row.what;
    }
}

TEST(GemmCase, ARunnerThatWritesNoProfileFailsWithNotFound) {
    const GemmRun gemm = run_gemm_case(std::nullopt);
    EXPECT_EQ(gemm.run.exit_code, 101);
    EXPECT_TRUE(
        reports(gemm.run,
                "called `Result::unwrap()` on an `Err` value: Os { code: 2, kind: NotFound, "
                "message: \"No such file or directory\" }"))
        << gemm.run.out;
}

TEST(GemmCase, AFailedRunnerLeavesItsProfileUnread) {
    Scratch scratch;
    const std::string source = scratch.directory() + "/prepared.capnp";
    ipu_package::fixtures::write_report_file(passing_profile(), source);
    const SuiteRun run = run_process(suite, {gemm_case},
                                     logging_to(scratch, {{"TMPDIR", scratch.directory()},
                                                          {"FAKE_RUNNER_PROFILE", source},
                                                          {"FAKE_RUNNER_ACTION", "exit:1"}}));
    EXPECT_EQ(run.exit_code, 101);
    EXPECT_TRUE(
        reports(run,
                "hardware capability \"blocked GEMM with per-tile cycle profile\" failed with exit "
                "status: 1"));
    EXPECT_EQ(profiles_in(scratch.directory()).size(), 1u);
}

TEST(GemmCase, AnEmptyTemporaryDirectoryMeansTheBareNameInTheWorkingDirectory) {
    Scratch scratch;
    const std::string source = scratch.directory() + "/prepared.capnp";
    ipu_package::fixtures::write_report_file(passing_profile(), source);
    const SuiteRun run = run_process(
        suite, {gemm_case}, logging_to(scratch, {{"TMPDIR", ""}, {"FAKE_RUNNER_PROFILE", source}}),
        "", scratch.directory());
    EXPECT_EQ(run.exit_code, 0) << run.out;
    const auto records = scratch.records();
    ASSERT_EQ(records.size(), 1u);
    EXPECT_TRUE(records[0].at("env.IPU_PROFILE_OUTPUT").starts_with("quillmesh-gemm-profile-"));
    EXPECT_TRUE(profiles_in(scratch.directory()).empty());
}

TEST(GemmCase, UnsetTemporaryDirectoryMeansSlashTmp) {
    Scratch scratch;
    const SuiteRun run =
        run_process(suite, {gemm_case}, logging_to(scratch, {{"TMPDIR", std::nullopt}}));
    EXPECT_EQ(run.exit_code, 101) << "the fake runner wrote no profile";
    const auto records = scratch.records();
    ASSERT_EQ(records.size(), 1u);
    EXPECT_TRUE(
        records[0].at("env.IPU_PROFILE_OUTPUT").starts_with("/tmp/quillmesh-gemm-profile-"));
}

}  // namespace
}  // namespace suite_test
