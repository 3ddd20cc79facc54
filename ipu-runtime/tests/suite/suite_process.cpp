#include "suite_process.hpp"

#include <fstream>
#include <nlohmann/json.hpp>
#include <set>
#include <sstream>
#include <stdexcept>

namespace suite_test {
namespace {

std::string unhex(std::string_view text) {
    std::string bytes;
    for (std::size_t index = 0; index + 1 < text.size(); index += 2) {
        bytes += static_cast<char>(std::stoi(std::string(text.substr(index, 2)), nullptr, 16));
    }
    return bytes;
}

}  // namespace

SuiteRun run_process(const std::string& executable, const std::vector<std::string>& arguments,
                     const EnvironmentChanges& changes, const std::string& input,
                     const std::string& working_directory) {
    return test_support::run_child(executable, arguments,
                                   {.environment = changes,
                                    .input = input,
                                    .working_directory = working_directory,
                                    .join_error_into_out = true});
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
