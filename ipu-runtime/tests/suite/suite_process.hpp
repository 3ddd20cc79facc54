#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace suite_test {

// How one run of a suite executable ended and what it printed.
struct SuiteRun {
    int exit_code = -1;  // -1 when it did not exit normally
    std::string output;  // standard output and standard error, interleaved
};

// Environment changes for a child: a value sets the name, nullopt removes it.
using EnvironmentChanges = std::map<std::string, std::optional<std::string>>;

// Runs `executable` with `arguments`, this process's environment changed by
// `changes`, `input` on its standard input and, unless empty, `working_directory`
// as its working directory; waits for it.
SuiteRun run_process(const std::string& executable, const std::vector<std::string>& arguments,
                     const EnvironmentChanges& changes, const std::string& input = "",
                     const std::string& working_directory = "");

// A child started in the background, with /dev/null as its standard input and
// its standard output and error going to a file; killed and reaped on
// destruction unless waited for.
class BackgroundProcess {
  public:
    BackgroundProcess(const std::string& executable, const std::vector<std::string>& arguments,
                      const EnvironmentChanges& changes, const std::string& output_path);
    ~BackgroundProcess();
    BackgroundProcess(const BackgroundProcess&) = delete;
    BackgroundProcess& operator=(const BackgroundProcess&) = delete;

    void kill(int signal);

    // Waits for the child; its exit code, or -1 when it did not exit normally.
    int wait();

  private:
    int pid_ = -1;
};

// One line that the fake runner appended to its log: field name to raw bytes.
using RunnerRecord = std::map<std::string, std::string>;

// A scratch directory with a fake-runner log in it, removed on destruction.
class Scratch {
  public:
    Scratch();
    ~Scratch();
    Scratch(const Scratch&) = delete;
    Scratch& operator=(const Scratch&) = delete;

    const std::string& directory() const { return directory_; }
    std::string log_path() const { return directory_ + "/runner.log"; }

    // The records in the log, in the order the runners wrote them.
    std::vector<RunnerRecord> records() const;

  private:
    std::string directory_;
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
