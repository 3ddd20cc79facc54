#include "verdict.hpp"

#include <gtest/gtest.h>

#include "case_failure.hpp"

namespace hardware_suite {
namespace {

// Raw wait statuses as Linux encodes them.
constexpr int exited(int code) {
    return code << 8;
}
constexpr int killed(int signal) {
    return signal;
}
constexpr int dumped(int signal) {
    return signal | 0x80;
}

TEST(ExitStatusText, FollowsThePosixDecoding) {
    const struct {
        int status;
        std::string_view text;
    } rows[] = {
        {exited(1), "exit status: 1"},
        {exited(3), "exit status: 3"},
        {exited(255), "exit status: 255"},
        {killed(1), "signal: 1 (SIGHUP)"},
        {killed(6), "signal: 6 (SIGABRT)"},
        {killed(9), "signal: 9 (SIGKILL)"},
        {killed(15), "signal: 15 (SIGTERM)"},
        {killed(16), "signal: 16 (SIGSTKFLT)"},
        {killed(30), "signal: 30 (SIGPWR)"},
        {killed(31), "signal: 31 (SIGSYS)"},
        {killed(34), "signal: 34"},
        {killed(40), "signal: 40"},
        {dumped(11), "signal: 11 (SIGSEGV) (core dumped)"},
        {dumped(40), "signal: 40 (core dumped)"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(exit_status_text(row.status), row.text) << "status " << row.status;
    }
}

std::string failure_of(std::string_view capability, int status) {
    try {
        require_success(capability, status);
    } catch (const CaseFailure& failure) {
        return failure.what();
    }
    return "";
}

TEST(RequireSuccess, PassesOnlyAZeroWaitStatus) {
    EXPECT_EQ(failure_of("remote-tile H2D and D2H", 0), "");
    EXPECT_EQ(failure_of("remote-tile H2D and D2H", exited(1)),
              R"(hardware capability "remote-tile H2D and D2H" failed with exit status: 1)");
    EXPECT_EQ(failure_of("remote-tile H2D and D2H", killed(9)),
              R"(hardware capability "remote-tile H2D and D2H" failed with signal: 9 (SIGKILL))");
}

TEST(RequireSuccess, QuotesTheLabelInItsDebugForm) {
    EXPECT_EQ(failure_of("say \"hi\"\\\n", exited(2)),
              R"(hardware capability "say \"hi\"\\\n" failed with exit status: 2)");
}

}  // namespace
}  // namespace hardware_suite
