#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gemm_runner.hpp"

namespace ipu_gemm {
namespace {

GemmSettings settings_for(std::uint32_t dimension) {
    const GemmPlan plan = *plan_gemm(dimension);
    return GemmSettings{plan, BlockCoordinate{plan.grid - 1, plan.grid - 1}, std::nullopt};
}

TEST(GemmRun, EveryBlockingMatchesTheHostProductOnTheDevice) {
    for (const std::uint32_t dimension : {1u, 16u, 17u, 40u}) {
        ipu_sim::Device device;
        const auto outcome = run_gemm(settings_for(dimension), device, std::nullopt);
        ASSERT_TRUE(outcome.has_value()) << dimension << ": " << outcome.error().line;
        EXPECT_NE(outcome->find("matches the host product, and so does output block"),
                  std::string::npos)
            << *outcome;
    }
}

// Each fault breaks data on its way through the GEMM; the run must end with the
// first wrong byte (status 1), and the device must have said what it injected.
TEST(GemmRun, DeviceFaultsEndTheRunAtTheFirstWrongByte) {
    for (const ipu_sim::Fault fault :
         {ipu_sim::Fault::RouteLaneStuck, ipu_sim::Fault::H2dPacketDrop,
          ipu_sim::Fault::H2dLateLanding, ipu_sim::Fault::ExchangeDrop,
          ipu_sim::Fault::ExchangeBitFlip, ipu_sim::Fault::MulticastReceiverDrop,
          ipu_sim::Fault::ComputeBitFlip, ipu_sim::Fault::SkippedSync}) {
        SCOPED_TRACE(std::string(ipu_sim::fault_name(fault)));
        std::vector<std::string> reports;
        ipu_sim::Device device(ipu_sim::DeviceConfig{
            .fault = fault,
            .fault_sink = [&](std::string_view line) { reports.emplace_back(line); }});
        const auto outcome = run_gemm(settings_for(40), device, std::nullopt);
        ASSERT_FALSE(outcome.has_value());
        EXPECT_EQ(outcome.error().status, ipu_runner::ExitStatus::failed);
        EXPECT_NE(outcome.error().line.find("first mismatch at tile"), std::string::npos)
            << outcome.error().line;
        EXPECT_EQ(reports.size(), 1u);
    }
}

}  // namespace
}  // namespace ipu_gemm
