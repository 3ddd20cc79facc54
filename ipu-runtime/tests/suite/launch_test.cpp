// The suite as a process, against the fake runner: verdicts, launch failures,
// selection and exit status.

#include <gtest/gtest.h>

#include "profile_fixtures.hpp"
#include "suite_process.hpp"
#include "support/profile_fixtures.hpp"

namespace suite_test {
namespace {

const std::string suite = SUITE_WITH_FAKE_RUNNERS;

// Every case with the label its failure message names.
const std::map<std::string, std::string> capability_of_case = {
    {"all_tile_permutation_works", "all-tile permutation graph"},
    {"all_tile_reduction_works", "all-tile reduction graph"},
    {"blocked_gemm_with_cycle_profile_works", "blocked GEMM with per-tile cycle profile"},
    {"compiler_segmented_allocation_executes_on_hardware",
     "compiler-generated add spanning segmented SRAM arenas"},
    {"direct_multicast_works", "single-source multicast graph"},
    {"distinct_sources_can_write_disjoint_host_ranges", "distinct multi-source D2H"},
    {"flash_attention_matches_host_softmax_across_encoder_shapes",
     "FP16 FlashAttention for encoder head dimensions and batch sizes"},
    {"h2d_compute_d2d_compute_d2h_works", "H2D, compute, D2D, compute, and D2H composition"},
    {"high_address_large_h2d_and_d2h_work", "64-KiB high-address H2D and D2H"},
    {"host_routes_cover_every_endpoint_field", "host routes spanning every endpoint field"},
    {"initialized_d2d_relay_and_d2h_work", "initialized D2D relay and D2H"},
    {"initialized_local_tile_d2h_works", "initialized tile D2H"},
    {"initialized_remote_tile_d2h_works", "remote-tile initialized D2H"},
    {"large_h2d_timed_relay_and_d2h_composition_works",
     "large H2D, timed D2D relay, and D2H composition"},
    {"local_h2d_and_d2h_round_trip_works", "local H2D and D2H"},
    {"multicast_receiver_can_send_in_same_phase",
     "multicast graph with a receiver that sends in the same phase"},
    {"randomized_multi_tile_host_round_trips_work",
     "randomized host round trip seed=0x243f6a8885a308d3 bytes=4 "
     "tiles=34,71,144,956,1104,1157,1243,1300"},
    {"randomized_static_d2d_graphs_work", "randomized exchange graph seed 0x5155494c4c4d4553"},
    {"remote_tile_h2d_and_d2h_work", "remote-tile H2D and D2H"},
    {"sparse_compute_to_dense_exchange_works", "sparse compute followed by an all-tile exchange"},
};

TEST(SuiteProcess, ListsEveryCaseInByteOrder) {
    const SuiteRun run = run_process(suite, {"--gtest_list_tests"}, {});
    ASSERT_EQ(run.exit_code, 0) << run.out;
    std::string expected = "hardware.\n";
    for (const auto& [name, capability] : capability_of_case) {
        expected += "  " + name + "\n";
    }
    EXPECT_EQ(run.out, expected);
}

TEST(SuiteProcess, EveryCasePassesWhenEveryRunnerExitsZero) {
    Scratch scratch;
    const std::string report = scratch.directory() + "/report.json";
    const std::string profile = scratch.directory() + "/prepared.capnp";
    ipu_package::fixtures::write_report_file(passing_profile(), profile);
    const SuiteRun run = run_process(
        suite, {"--gtest_output=json:" + report},
        logging_to(scratch, {{"FAKE_RUNNER_PROFILE", profile}, {"TMPDIR", scratch.directory()}}));
    EXPECT_EQ(run.exit_code, 0) << run.out;
    for (const auto& [name, outcome] : read_report(report)) {
        EXPECT_FALSE(outcome.failed) << name;
        EXPECT_EQ(outcome.properties.at("run1_exit_status"), "exit status: 0") << name;
    }
    EXPECT_EQ(scratch.records().size(), 24u)
        << "16 fixed runs, 1 route run, 3 + 3 seeded runs, 1 GEMM run";
}

TEST(SuiteProcess, EveryCaseFailsWithItsOwnMessageWhenRunnersExitThree) {
    Scratch scratch;
    const std::string report = scratch.directory() + "/report.json";
    const SuiteRun run = run_process(suite, {"--gtest_output=json:" + report},
                                     logging_to(scratch, {{"FAKE_RUNNER_ACTION", "exit:3"}}));
    EXPECT_EQ(run.exit_code, 101);
    const auto outcomes = read_report(report);
    ASSERT_EQ(outcomes.size(), capability_of_case.size());
    for (const auto& [name, capability] : capability_of_case) {
        EXPECT_EQ(outcomes.at(name).failure,
                  "hardware capability \"" + capability + "\" failed with exit status: 3");
    }
    EXPECT_EQ(scratch.records().size(), capability_of_case.size())
        << "a case ends at its first failing run";
}

TEST(SuiteProcess, FailureMessagesRenderHowTheRunnerEnded) {
    const struct {
        std::string action;
        std::string ending;
    } rows[] = {
        {"exit:1", "exit status: 1"},        {"exit:255", "exit status: 255"},
        {"signal:9", "signal: 9 (SIGKILL)"}, {"signal:15", "signal: 15 (SIGTERM)"},
        {"signal:40", "signal: 40"},
    };
    for (const auto& row : rows) {
        const SuiteRun run = run_process(suite, {"remote_tile_h2d_and_d2h_work"},
                                         {{"FAKE_RUNNER_ACTION", row.action}});
        EXPECT_EQ(run.exit_code, 101) << row.action;
        EXPECT_NE(run.out.find("\nhardware capability \"remote-tile H2D and D2H\" failed with " +
                               row.ending + "\n"),
                  std::string::npos)
            << run.out;
    }
}

TEST(SuiteProcess, AFailedCaseLeavesTheNextCaseRunningNormally) {
    Scratch scratch;
    const std::string report = scratch.directory() + "/report.json";
    const SuiteRun run =
        run_process(suite, {"--gtest_output=json:" + report, "direct_multicast_works", "local_h2d"},
                    logging_to(scratch, {{"FAKE_RUNNER_ACTION", "exit:3"},
                                         {"FAKE_RUNNER_ACTION_FOR", "ipu-hardware-e2e"}}));
    EXPECT_EQ(run.exit_code, 101);
    const auto outcomes = read_report(report);
    ASSERT_EQ(outcomes.size(), 2u);
    EXPECT_TRUE(outcomes.at("direct_multicast_works").failed);
    EXPECT_FALSE(outcomes.at("local_h2d_and_d2h_round_trip_works").failed);
}

TEST(SuiteProcess, ASeededCaseStopsAtItsFirstFailingSeed) {
    Scratch scratch;
    const SuiteRun run = run_process(suite, {"randomized_static_d2d_graphs_work"},
                                     logging_to(scratch, {{"FAKE_RUNNER_ACTION", "exit:1"}}));
    EXPECT_EQ(run.exit_code, 101);
    EXPECT_EQ(scratch.records().size(), 1u);
    EXPECT_NE(run.out.find("randomized exchange graph seed 0x5155494c4c4d4553"), std::string::npos);
}

TEST(SuiteProcess, LaunchFailuresNameTheRunnerAndTheOperatingSystemError) {
    const std::string not_found =
        R"(Os { code: 2, kind: NotFound, message: "No such file or directory" })";
    const std::string denied =
        R"(Os { code: 13, kind: PermissionDenied, message: "Permission denied" })";
    const struct {
        std::string suite;
        std::string selection;
        std::string message;
    } rows[] = {
        {SUITE_WITH_MISSING_RUNNERS, "direct_multicast_works",
         "launch direct multicast hardware test runner: " + not_found},
        {SUITE_WITH_MISSING_RUNNERS, "initialized_remote_tile_d2h_works",
         "launch host exchange test runner: " + not_found},
        {SUITE_WITH_MISSING_RUNNERS, "randomized_static_d2d_graphs_work",
         "launch randomized hardware test runner: " + not_found},
        {SUITE_WITH_MISSING_RUNNERS, "flash_attention",
         "launch FlashAttention hardware test runner: " + not_found},
        {SUITE_WITH_UNEXECUTABLE_RUNNERS, "sparse_compute_to_dense_exchange_works",
         "launch compute-to-exchange hardware test runner: " + denied},
        {SUITE_WITH_UNEXECUTABLE_RUNNERS, "host_routes_cover_every_endpoint_field",
         "launch host exchange test runner: " + denied},
    };
    for (const auto& row : rows) {
        const SuiteRun run = run_process(row.suite, {row.selection}, {});
        EXPECT_EQ(run.exit_code, 101) << row.selection;
        EXPECT_NE(run.out.find("\n" + row.message + "\n"), std::string::npos)
            << row.selection << ":\n"
            << run.out;
    }
}

TEST(SuiteProcess, PositionalArgumentsSelectCasesBySubstring) {
    const SuiteRun run = run_process(suite, {"--gtest_list_tests", "multicast", "all_tile_p"}, {});
    EXPECT_EQ(run.exit_code, 0);
    EXPECT_EQ(run.out,
              "hardware.\n  all_tile_permutation_works\n  direct_multicast_works\n"
              "  multicast_receiver_can_send_in_same_phase\n");
}

TEST(SuiteProcess, GtestFilterSelectsCases) {
    Scratch scratch;
    const SuiteRun run =
        run_process(suite, {"--gtest_filter=hardware.all_tile_*"}, logging_to(scratch));
    EXPECT_EQ(run.exit_code, 0) << run.out;
    EXPECT_EQ(scratch.records().size(), 2u);
}

TEST(SuiteProcess, UnknownOptionsAreRejectedWithAUsageLine) {
    for (const std::string option : {"--frobnicate", "-x", "--gtest_no_such_flag"}) {
        Scratch scratch;
        const SuiteRun run = run_process(suite, {option}, logging_to(scratch));
        EXPECT_EQ(run.exit_code, 101) << option;
        EXPECT_NE(run.out.find("usage: "), std::string::npos) << run.out;
        EXPECT_TRUE(scratch.records().empty()) << "no case runs";
    }
}

TEST(SuiteProcess, ThePassingRunRecordsHowToRerunItByHand) {
    Scratch scratch;
    const std::string report = scratch.directory() + "/report.json";
    const SuiteRun run = run_process(suite, {"--gtest_output=json:" + report, "high_address"},
                                     {{"IPU_TEST_HOST_WRITE_JITTER_MAX_US", std::nullopt},
                                      {"IPU_TEST_HOST_WRITE_JITTER_SEED", std::string("a b\xff")}});
    ASSERT_EQ(run.exit_code, 0) << run.out;
    const auto properties =
        read_report(report).at("high_address_large_h2d_and_d2h_work").properties;
    EXPECT_EQ(properties.at("run1_command"),
              "IPU_HOST_TEST_TILE=100 IPU_HOST_TEST_BYTES=65536 IPU_HOST_TEST_ADDRESS=0x60000 "
              "IPU_HOST_WRITE_JITTER_SEED=$'a b\\xff' " FAKE_RUNNER_DIR "/ipu-host-e2e");
    EXPECT_EQ(properties.at("run1_exit_status"), "exit status: 0");
    EXPECT_EQ(run.out.find("Failure"), std::string::npos);
}

}  // namespace
}  // namespace suite_test
