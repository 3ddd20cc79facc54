#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "test_support/child_process.hpp"
#include "test_support/temp_dir.hpp"

namespace suite_test {

using test_support::BackgroundChild;
using test_support::EnvironmentChanges;

// How one run of a suite executable ended; `out` holds its standard output and
// standard error, interleaved.
using SuiteRun = test_support::ChildRun;

// Runs `executable` with `arguments`, this process's environment changed by
// `changes`, `input` on its standard input and, unless empty, `working_directory`
// as its working directory; waits for it.
SuiteRun run_process(const std::string& executable, const std::vector<std::string>& arguments,
                     const EnvironmentChanges& changes, const std::string& input = "",
                     const std::string& working_directory = "");

// One line that the fake runner appended to its log: field name to raw bytes.
using RunnerRecord = std::map<std::string, std::string>;

// A scratch directory with a fake-runner log in it, removed on destruction.
class Scratch {
  public:
    std::string directory() const { return directory_.path().string(); }
    std::string log_path() const { return directory_.file("runner.log"); }

    // The records in the log, in the order the runners wrote them.
    std::vector<RunnerRecord> records() const;

  private:
    test_support::TempDir directory_;
};

// One case as the suite's JSON report shows it.
struct CaseOutcome {
    bool failed = false;
    std::string failure;  // the failure message, without the source position line
    std::map<std::string, std::string> properties;
};

// The cases of a report written with --gtest_output=json:PATH, by case name.
std::map<std::string, CaseOutcome> read_report(const std::string& path);

// The environment changes that point the fake runner at the scratch log.
EnvironmentChanges logging_to(const Scratch& scratch, EnvironmentChanges changes = {});

}  // namespace suite_test
