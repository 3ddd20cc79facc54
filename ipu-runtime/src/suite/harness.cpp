#include "harness.hpp"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "case_failure.hpp"
#include "launch.hpp"
#include "registry.hpp"
#include "runner_time_limit.hpp"

namespace hardware_suite {
namespace {

constexpr int failure_status = 101;
constexpr const char* suite_name = "hardware";

class HardwareCase : public testing::Test {
  public:
    explicit HardwareCase(const CaseBody& body) : body_(body) {}

    void TestBody() override {
        begin_case_runs();
        try {
            body_();
        } catch (const CaseFailure& failure) {
            GTEST_MESSAGE_AT_(failure.where().file_name(), static_cast<int>(failure.where().line()),
                              failure.what(), testing::TestPartResult::kFatalFailure);
        }
    }

  private:
    const CaseBody& body_;
};

bool selected(std::string_view name, const std::vector<std::string>& filters) {
    if (filters.empty()) {
        return true;
    }
    for (const std::string& filter : filters) {
        if (name.find(filter) != std::string_view::npos) {
            return true;
        }
    }
    return false;
}

}  // namespace

int run_hardware_suite(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);

    std::vector<std::string> filters;
    for (int index = 1; index < argc; ++index) {
        const std::string argument = argv[index];
        if (argument.starts_with("-")) {
            std::fprintf(
                stderr,
                "error: unknown option '%s'\nusage: %s [--gtest_* options] [CASE-SUBSTRING...]\n",
                argument.c_str(), argv[0]);
            return failure_status;
        }
        filters.push_back(argument);
    }
    if (const auto configured = configure_runner_time_limit(); !configured) {
        std::fprintf(stderr, "error: %s\n", configured.error().c_str());
        return failure_status;
    }

    for (const RegisteredCase& registered : registry()) {
        if (!selected(registered.name, filters)) {
            continue;
        }
        const CaseBody& body = registered.body;
        testing::RegisterTest(suite_name, std::string(registered.name).c_str(), nullptr, nullptr,
                              __FILE__, __LINE__,
                              [&body]() -> testing::Test* { return new HardwareCase(body); });
    }
    return RUN_ALL_TESTS() == 0 ? 0 : failure_status;
}

}  // namespace hardware_suite
