#include "suite_process.hpp"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <set>
#include <sstream>
#include <stdexcept>

extern char** environ;

namespace suite_test {
namespace {

std::vector<std::string> changed_environment(const EnvironmentChanges& changes) {
    std::vector<std::string> entries;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        const std::string setting = *entry;
        const std::string name = setting.substr(0, setting.find('='));
        if (!changes.contains(name)) {
            entries.push_back(setting);
        }
    }
    for (const auto& [name, value] : changes) {
        if (value) {
            entries.push_back(name + "=" + *value);
        }
    }
    return entries;
}

std::string unhex(std::string_view text) {
    std::string bytes;
    for (std::size_t index = 0; index + 1 < text.size(); index += 2) {
        bytes += static_cast<char>(std::stoi(std::string(text.substr(index, 2)), nullptr, 16));
    }
    return bytes;
}

}  // namespace

namespace {

// Starts `executable` with `arguments`, this process's environment changed by
// `changes`, `input` and `output` as its standard input and its standard output
// and error, and, unless empty, `working_directory`.
pid_t spawn(const std::string& executable, const std::vector<std::string>& arguments,
            const EnvironmentChanges& changes, int input, int output,
            const std::string& working_directory) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, input, 0);
    posix_spawn_file_actions_adddup2(&actions, output, 1);
    posix_spawn_file_actions_adddup2(&actions, output, 2);
    if (!working_directory.empty()) {
        posix_spawn_file_actions_addchdir_np(&actions, working_directory.c_str());
    }

    std::vector<std::string> argument_texts = {executable};
    argument_texts.insert(argument_texts.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& text : argument_texts) {
        argv.push_back(text.data());
    }
    argv.push_back(nullptr);
    std::vector<std::string> environment = changed_environment(changes);
    std::vector<char*> envp;
    for (std::string& entry : environment) {
        envp.push_back(entry.data());
    }
    envp.push_back(nullptr);

    pid_t pid = 0;
    const int started =
        ::posix_spawn(&pid, executable.c_str(), &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (started != 0) {
        throw std::runtime_error("cannot start " + executable);
    }
    return pid;
}

int exit_code_of(pid_t pid) {
    int status = 0;
    while (::waitpid(pid, &status, 0) == -1 && errno == EINTR) {
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace

SuiteRun run_process(const std::string& executable, const std::vector<std::string>& arguments,
                     const EnvironmentChanges& changes, const std::string& input,
                     const std::string& working_directory) {
    int output_pipe[2];
    int input_pipe[2];
    if (::pipe2(output_pipe, O_CLOEXEC) != 0 || ::pipe2(input_pipe, O_CLOEXEC) != 0) {
        throw std::runtime_error("pipe failed");
    }
    const pid_t pid =
        spawn(executable, arguments, changes, input_pipe[0], output_pipe[1], working_directory);
    ::close(output_pipe[1]);
    ::close(input_pipe[0]);
    if (!input.empty() && ::write(input_pipe[1], input.data(), input.size()) < 0) {
        throw std::runtime_error("cannot write the child's input");
    }
    ::close(input_pipe[1]);

    SuiteRun run;
    char buffer[4096];
    ssize_t got;
    while ((got = ::read(output_pipe[0], buffer, sizeof buffer)) != 0) {
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            break;
        }
        run.output.append(buffer, static_cast<std::size_t>(got));
    }
    ::close(output_pipe[0]);
    run.exit_code = exit_code_of(pid);
    return run;
}

BackgroundProcess::BackgroundProcess(const std::string& executable,
                                     const std::vector<std::string>& arguments,
                                     const EnvironmentChanges& changes,
                                     const std::string& output_path) {
    const int input = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
    const int output = ::open(output_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (input < 0 || output < 0) {
        throw std::runtime_error("cannot open the streams of " + executable);
    }
    pid_ = spawn(executable, arguments, changes, input, output, "");
    ::close(input);
    ::close(output);
}

BackgroundProcess::~BackgroundProcess() {
    if (pid_ > 0) {
        ::kill(pid_, SIGKILL);
        exit_code_of(pid_);
    }
}

void BackgroundProcess::kill(int signal) {
    ::kill(pid_, signal);
}

int BackgroundProcess::wait() {
    const int code = exit_code_of(pid_);
    pid_ = -1;
    return code;
}

Scratch::Scratch() {
    std::string pattern = std::filesystem::temp_directory_path() / "suite-test-XXXXXX";
    if (::mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("mkdtemp failed");
    }
    directory_ = pattern;
}

Scratch::~Scratch() {
    std::error_code ignored;
    std::filesystem::remove_all(directory_, ignored);
}

std::vector<RunnerRecord> Scratch::records() const {
    std::vector<RunnerRecord> records;
    std::ifstream log(log_path());
    std::string line;
    while (std::getline(log, line)) {
        RunnerRecord record;
        std::istringstream fields(line);
        std::string field;
        while (std::getline(fields, field, ';')) {
            const auto equals = field.find('=');
            record[field.substr(0, equals)] = unhex(std::string_view(field).substr(equals + 1));
        }
        records.push_back(std::move(record));
    }
    return records;
}

std::map<std::string, CaseOutcome> read_report(const std::string& path) {
    std::ifstream file(path);
    const nlohmann::json report = nlohmann::json::parse(file);
    std::map<std::string, CaseOutcome> outcomes;
    static const std::set<std::string> standard_fields = {
        "name", "status", "result", "timestamp", "time", "classname", "failures", "file", "line"};
    for (const auto& suite : report.at("testsuites")) {
        for (const auto& test : suite.at("testsuite")) {
            CaseOutcome outcome;
            if (test.contains("failures")) {
                outcome.failed = true;
                const std::string text = test.at("failures").at(0).at("failure");
                outcome.failure = text.substr(text.find('\n') + 1);
            }
            for (const auto& [key, value] : test.items()) {
                if (!standard_fields.contains(key) && value.is_string()) {
                    outcome.properties[key] = value.get<std::string>();
                }
            }
            outcomes[test.at("name")] = outcome;
        }
    }
    return outcomes;
}

EnvironmentChanges logging_to(const Scratch& scratch, EnvironmentChanges changes) {
    changes["FAKE_RUNNER_LOG"] = scratch.log_path();
    return changes;
}

}  // namespace suite_test
