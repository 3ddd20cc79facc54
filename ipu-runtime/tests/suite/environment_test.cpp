// What each runner is given: path, arguments, working directory, standard
// input, and its environment with the case's overrides and forwarded jitter.

#include <gtest/gtest.h>
#include <unistd.h>

#include "profile_fixtures.hpp"
#include "suite_process.hpp"
#include "support/profile_fixtures.hpp"

namespace suite_test {
namespace {

const std::string suite = SUITE_WITH_FAKE_RUNNERS;

// The suite's own jitter settings and runner settings, all unset, so that the
// developer's shell cannot leak into these tests.
EnvironmentChanges clean(EnvironmentChanges changes = {}) {
    for (const char* name :
         {"IPU_TEST_HOST_WRITE_JITTER_MAX_US", "IPU_TEST_HOST_WRITE_JITTER_SEED",
          "IPU_HOST_WRITE_JITTER_MAX_US", "IPU_HOST_WRITE_JITTER_SEED", "IPU_HOST_TEST_BYTES",
          "IPU_HOST_TEST_TILE", "IPU_HOST_TEST_TILES", "IPU_GRAPH_TEST"}) {
        changes.try_emplace(name, std::nullopt);
    }
    return changes;
}

// Runs the suite, with a passing profile for the GEMM case, and returns the records.
std::vector<RunnerRecord> run_all(const Scratch& scratch, EnvironmentChanges changes,
                                  std::vector<std::string> arguments = {}) {
    const std::string profile = scratch.directory() + "/prepared.capnp";
    ipu_package::fixtures::write_report_file(passing_profile(), profile);
    changes["FAKE_RUNNER_PROFILE"] = profile;
    changes["TMPDIR"] = scratch.directory();
    const SuiteRun run = run_process(suite, arguments, logging_to(scratch, clean(changes)));
    EXPECT_EQ(run.exit_code, 0) << run.out;
    return scratch.records();
}

bool forwards_jitter(const std::string& runner) {
    return runner == "ipu-host-e2e" || runner == "ipu-gemm-e2e";
}

TEST(RunnerEnvironment, ArgumentsDirectoryAndInputAreTheSuitesOwn) {
    Scratch scratch;
    const SuiteRun run =
        run_process(suite, {"direct_multicast_works"},
                    logging_to(scratch, {{"FAKE_RUNNER_READ_STDIN", "1"}}), "input for the runner");
    ASSERT_EQ(run.exit_code, 0) << run.out;
    const auto records = scratch.records();
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].at("argv0"), FAKE_RUNNER_DIR "/ipu-hardware-e2e");
    EXPECT_EQ(records[0].at("argc"), "1");
    char cwd[4096];
    EXPECT_EQ(records[0].at("cwd"), ::getcwd(cwd, sizeof cwd));
    EXPECT_EQ(records[0].at("stdin"), "input for the runner");
}

TEST(RunnerEnvironment, JitterMaximumAloneReachesOnlyHostAndGemmRunners) {
    Scratch scratch;
    for (const RunnerRecord& record :
         run_all(scratch, {{"IPU_TEST_HOST_WRITE_JITTER_MAX_US", "250"}})) {
        const std::string& runner = record.at("runner");
        EXPECT_FALSE(record.contains("env.IPU_HOST_WRITE_JITTER_SEED")) << runner;
        if (forwards_jitter(runner)) {
            EXPECT_EQ(record.at("env.IPU_HOST_WRITE_JITTER_MAX_US"), "250") << runner;
        } else {
            EXPECT_FALSE(record.contains("env.IPU_HOST_WRITE_JITTER_MAX_US")) << runner;
        }
        EXPECT_EQ(record.at("env.IPU_TEST_HOST_WRITE_JITTER_MAX_US"), "250")
            << runner << " inherits the suite's whole environment";
    }
}

TEST(RunnerEnvironment, ForwardedJitterIsPassedByteForByteEvenWhenEmpty) {
    Scratch scratch;
    const std::string raw = "\xff\xfe not text \x01";
    for (const RunnerRecord& record : run_all(scratch, {{"IPU_TEST_HOST_WRITE_JITTER_MAX_US", raw},
                                                        {"IPU_TEST_HOST_WRITE_JITTER_SEED", ""}})) {
        if (forwards_jitter(record.at("runner"))) {
            EXPECT_EQ(record.at("env.IPU_HOST_WRITE_JITTER_MAX_US"), raw);
            EXPECT_EQ(record.at("env.IPU_HOST_WRITE_JITTER_SEED"), "");
        }
    }
}

TEST(RunnerEnvironment, ForwardedJitterWinsOverAnInheritedValue) {
    Scratch scratch;
    for (const RunnerRecord& record : run_all(
             scratch,
             {{"IPU_HOST_WRITE_JITTER_MAX_US", "5"}, {"IPU_TEST_HOST_WRITE_JITTER_MAX_US", "7"}})) {
        EXPECT_EQ(record.at("env.IPU_HOST_WRITE_JITTER_MAX_US"),
                  forwards_jitter(record.at("runner")) ? "7" : "5")
            << record.at("runner");
    }
}

TEST(RunnerEnvironment, CaseOverridesReplaceInheritedValuesAndOthersPassThrough) {
    Scratch scratch;
    const auto records = run_all(scratch, {{"IPU_HOST_TEST_BYTES", "999"}},
                                 {"remote_tile_h2d_and_d2h_work", "local_h2d_and_d2h"});
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].at("env.IPU_HOST_TEST_BYTES"), "999") << "local round trip sets nothing";
    EXPECT_FALSE(records[0].contains("env.IPU_HOST_TEST_TILE"));
    EXPECT_EQ(records[1].at("env.IPU_HOST_TEST_BYTES"), "8192");
    EXPECT_EQ(records[1].at("env.IPU_HOST_TEST_TILE"), "1471");
}

TEST(RunnerEnvironment, ComputedScenariosHandOverTheirExactValues) {
    Scratch scratch;
    const auto records =
        run_all(scratch, {}, {"host_routes_cover_every_endpoint_field", "randomized"});
    ASSERT_EQ(records.size(), 7u);
    // Cases run in byte order: route coverage, then host round trips, then graphs.
    EXPECT_EQ(records[0].at("env.IPU_HOST_TEST_TILES").size(), 357u);
    EXPECT_TRUE(records[0].at("env.IPU_HOST_TEST_TILES").starts_with("0,90,1,91,92,182,"));
    EXPECT_EQ(records[0].at("env.IPU_HOST_TEST_BYTES"), "64");
    const std::string host_runs[][2] = {
        {"34,71,144,956,1104,1157,1243,1300", "4"},
        {"11,19,108,451,536,647,846,958", "1024"},
        {"19,82,416,602,829,893,1065,1187", "8192"},
    };
    for (int run = 0; run < 3; ++run) {
        EXPECT_EQ(records[1 + run].at("runner"), "ipu-host-e2e");
        EXPECT_EQ(records[1 + run].at("env.IPU_HOST_TEST_TILES"), host_runs[run][0]);
        EXPECT_EQ(records[1 + run].at("env.IPU_HOST_TEST_BYTES"), host_runs[run][1]);
    }
    const std::string graph_seeds[] = {"5860671082139043155", "7640891576956012809",
                                       "13503953896175478587"};
    for (int run = 0; run < 3; ++run) {
        EXPECT_EQ(records[4 + run].at("runner"), "ipu-randomized-e2e");
        EXPECT_EQ(records[4 + run].at("env.IPU_RANDOM_SEED"), graph_seeds[run]);
    }
}

TEST(RunnerEnvironment, FixedScenariosSetTheirValuesInOrder) {
    Scratch scratch;
    const std::string report = scratch.directory() + "/report.json";
    run_all(scratch, {}, {"--gtest_output=json:" + report});
    const auto outcomes = read_report(report);
    const struct {
        std::string name;
        std::string settings;
    } rows[] = {
        {"direct_multicast_works", "IPU_GRAPH_TEST=fanout"},
        {"compiler_segmented_allocation_executes_on_hardware",
         "IPU_GRAPH_TEST=compiler-segmented-add"},
        {"initialized_d2d_relay_and_d2h_work",
         "IPU_HOST_TEST_EXCHANGE=1 IPU_HOST_TEST_INITIALIZED_EXCHANGE=1"},
        {"initialized_remote_tile_d2h_works",
         "IPU_HOST_TEST_REMOTE_D2H=1 IPU_HOST_TEST_TILE=1471 IPU_HOST_TEST_BYTES=8192"},
        {"distinct_sources_can_write_disjoint_host_ranges",
         "IPU_HOST_TEST_TILES=1471,274 IPU_HOST_TEST_BYTES=64"},
        {"local_h2d_and_d2h_round_trip_works", ""},
        {"flash_attention_matches_host_softmax_across_encoder_shapes", ""},
    };
    for (const auto& row : rows) {
        const std::string command = outcomes.at(row.name).properties.at("run1_command");
        EXPECT_EQ(command.substr(0, command.rfind(' ') + 1),
                  row.settings.empty() ? "" : row.settings + " ")
            << row.name;
    }
}

}  // namespace
}  // namespace suite_test
