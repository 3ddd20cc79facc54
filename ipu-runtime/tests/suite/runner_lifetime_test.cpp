// A runner's life against the suite's: the machine-wide lock lasts as long as
// the runner, a dying suite takes its runner along, and the optional time limit
// ends a runner that hangs.

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <thread>

#include "suite_process.hpp"

namespace suite_test {
namespace {

using namespace std::chrono_literals;

const std::string suite = SUITE_WITH_FAKE_RUNNERS;
const std::string host_case = "local_h2d_and_d2h_round_trip_works";

void wait_for_file(const std::string& path) {
    const auto deadline = std::chrono::steady_clock::now() + 30s;
    while (!std::filesystem::exists(path)) {
        ASSERT_LT(std::chrono::steady_clock::now(), deadline) << "never appeared: " << path;
        std::this_thread::sleep_for(5ms);
    }
}

// Starts a suite whose runner stays `sleep_ms` alive, kills the suite with
// SIGKILL once its runner runs, and runs a second suite at once.
SuiteRun second_suite_after_killing_first(const Scratch& scratch, EnvironmentChanges first_runner) {
    const std::string started = scratch.directory() + "/first-runner-started";
    first_runner["FAKE_RUNNER_STARTED"] = started;
    BackgroundChild first(suite, {host_case}, logging_to(scratch, first_runner),
                          scratch.directory() + "/first-suite.out");
    wait_for_file(started);
    first.kill(SIGKILL);
    first.wait();
    return run_process(suite, {host_case}, logging_to(scratch));
}

TEST(RunnerLifetime, ARunnerThatOutlivesItsKilledSuiteKeepsTheDeviceUntilItEnds) {
    Scratch scratch;
    const SuiteRun second = second_suite_after_killing_first(
        scratch, {{"FAKE_RUNNER_SLEEP_MS", "1500"}, {"FAKE_RUNNER_OUTLIVE_SUITE", "1"}});
    ASSERT_EQ(second.exit_code, 0) << second.out;

    const auto records = scratch.records();
    ASSERT_EQ(records.size(), 2u) << "both runners end and record themselves";
    const long long orphan_end = std::stoll(records[0].at("end"));
    const long long second_start = std::stoll(records[1].at("start"));
    EXPECT_LE(orphan_end, second_start)
        << "the second suite's runner started " << (orphan_end - second_start) / 1000000
        << " ms before the orphaned runner ended";
}

TEST(RunnerLifetime, ASuiteKilledWithSigkillTakesItsRunnerAlong) {
    Scratch scratch;
    const auto begin = std::chrono::steady_clock::now();
    const SuiteRun second =
        second_suite_after_killing_first(scratch, {{"FAKE_RUNNER_SLEEP_MS", "60000"}});
    ASSERT_EQ(second.exit_code, 0) << second.out;
    EXPECT_LT(std::chrono::steady_clock::now() - begin, 30s);

    const auto records = scratch.records();
    ASSERT_EQ(records.size(), 1u) << "the killed suite's runner never ended on its own";
}

// A hardware-runner case that hangs, then a host case that passes.
SuiteRun hang_then_pass(const Scratch& scratch, EnvironmentChanges changes) {
    changes["FAKE_RUNNER_ACTION"] = "sleep:1000";
    changes["FAKE_RUNNER_ACTION_FOR"] = "ipu-hardware-e2e";
    return run_process(suite,
                       {"all_tile_permutation_works", host_case,
                        "--gtest_output=json:" + scratch.directory() + "/report.json"},
                       logging_to(scratch, changes));
}

TEST(RunnerTimeLimit, EndsAHungRunnerFailsItsCaseAndGoesOn) {
    Scratch scratch;
    const auto begin = std::chrono::steady_clock::now();
    const SuiteRun run = hang_then_pass(scratch, {{"IPU_TEST_RUNNER_TIMEOUT_SECONDS", "0.25"},
                                                  {"FAKE_RUNNER_ACTION", "sleep:60000"}});
    EXPECT_LT(std::chrono::steady_clock::now() - begin, 30s);
    EXPECT_EQ(run.exit_code, 101) << run.out;

    const auto outcomes = read_report(scratch.directory() + "/report.json");
    const CaseOutcome& hung = outcomes.at("all_tile_permutation_works");
    EXPECT_TRUE(hung.failed);
    EXPECT_EQ(hung.failure,
              "hardware capability \"all-tile permutation graph\" failed with signal: 9 (SIGKILL)");
    EXPECT_EQ(hung.properties.at("run1_stopped_by_time_limit"),
              "IPU_TEST_RUNNER_TIMEOUT_SECONDS=0.25");
    const CaseOutcome& next = outcomes.at(host_case);
    EXPECT_FALSE(next.failed) << next.failure;
    EXPECT_FALSE(next.properties.contains("run1_stopped_by_time_limit"));
}

TEST(RunnerTimeLimit, ASlowRunnerIsWaitedForWithoutALimitOrWithinIt) {
    for (const std::optional<std::string>& value :
         {std::optional<std::string>(), std::optional<std::string>(""),
          std::optional<std::string>("30")}) {
        Scratch scratch;
        const SuiteRun run = hang_then_pass(scratch, {{"IPU_TEST_RUNNER_TIMEOUT_SECONDS", value}});
        EXPECT_EQ(run.exit_code, 0) << value.value_or("(unset)") << "\n" << run.out;
        EXPECT_EQ(scratch.records().size(), 2u) << value.value_or("(unset)");
    }
}

TEST(RunnerTimeLimit, ARefusedValueEndsTheSuiteBeforeAnyCase) {
    for (const std::string value :
         {"0", "0.000", "-1", "+5", "abc", "1.", ".5", "007", "1e3", " 5", "5 ", "1000000000"}) {
        Scratch scratch;
        const SuiteRun run = run_process(
            suite, {}, logging_to(scratch, {{"IPU_TEST_RUNNER_TIMEOUT_SECONDS", value}}));
        EXPECT_EQ(run.exit_code, 101) << value;
        EXPECT_EQ(run.out,
                  "error: IPU_TEST_RUNNER_TIMEOUT_SECONDS must be a positive decimal number of "
                  "seconds, got \"" +
                      value + "\"\n");
        EXPECT_TRUE(scratch.records().empty()) << value;
    }
}

}  // namespace
}  // namespace suite_test
