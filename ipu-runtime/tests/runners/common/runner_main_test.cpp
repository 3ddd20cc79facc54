#include "ipu_runner/runner_main.hpp"

#include <gtest/gtest.h>

#include <sstream>
#include <stdexcept>

namespace ipu_runner {
namespace {

struct Ending {
    int status;
    std::string out;
    std::string err;
};

Ending run_body(const std::function<RunnerOutcome()>& body) {
    std::ostringstream out;
    std::ostringstream err;
    const int status = runner_main("ipu-test-e2e", body, out, err);
    return {status, out.str(), err.str()};
}

TEST(RunnerMain, EachEndingGivesItsStatusAndOneLine) {
    const struct {
        std::string_view name;
        std::function<RunnerOutcome()> body;
        Ending expected;
    } cases[] = {
        {"passed",
         [] { return RunnerOutcome("moved 64 bytes"); },
         {0, "ipu-test-e2e: moved 64 bytes\n", ""}},
        {"bad setting",
         [] {
             return RunnerOutcome(std::unexpected(SettingError{"IPU_X", "q", "empty"}));
         },
         {2, "", "ipu-test-e2e: IPU_X=\"q\": empty\n"}},
        {"mismatch",
         [] {
             return RunnerOutcome(std::unexpected(Mismatch{"D2H", 0, 16, 0x01, 0x02}));
         },
         {1, "",
          "ipu-test-e2e: D2H: first mismatch at tile 0 (physical 0), address 0x10: expected "
          "0x01, actual 0x02\n"}},
        {"device error",
         [] {
             return RunnerOutcome(std::unexpected(RunnerFailure::device(
                 "H2D write to tile 3", ipu_exchange::ExchangeError::HostPacket{})));
         },
         {1, "", "ipu-test-e2e: device refused H2D write to tile 3: HostPacket\n"}},
        {"exception",
         []() -> RunnerOutcome { throw std::runtime_error("boom"); },
         {3, "", "ipu-test-e2e: internal error: boom\n"}},
        {"foreign exception",
         []() -> RunnerOutcome { throw 42; },
         {3, "", "ipu-test-e2e: internal error: unknown exception\n"}},
    };
    for (const auto& c : cases) {
        const Ending result = run_body(c.body);
        EXPECT_EQ(result.status, c.expected.status) << c.name;
        EXPECT_EQ(result.out, c.expected.out) << c.name;
        EXPECT_EQ(result.err, c.expected.err) << c.name;
    }
}

}  // namespace
}  // namespace ipu_runner
