#include "ipu_runner/tile_io.hpp"

#include <gtest/gtest.h>

namespace ipu_runner {
namespace {

TEST(TileIo, WrittenBytesCheckOutAndADifferenceIsReportedWhereItIs) {
    ipu_sim::Device device;
    const std::vector<std::uint8_t> bytes = {1, 2, 3, 4, 5, 6};
    ASSERT_TRUE(write_tile(device, 1471, 0x100, bytes).has_value());
    device.fence();
    EXPECT_TRUE(check_tile(device, {"D2H", 1471, 0x100, bytes}).has_value());

    std::vector<std::uint8_t> wrong = bytes;
    wrong[4] = 9;
    const auto checked = check_tiles(device, std::vector<TileExpectation>{
                                                 {"D2H", 1471, 0x100, bytes},
                                                 {"second read", 1471, 0x100, wrong},
                                             });
    ASSERT_FALSE(checked.has_value());
    EXPECT_EQ(checked.error().status, ExitStatus::failed);
    EXPECT_EQ(checked.error().line,
              "second read: first mismatch at tile 1471 (physical 63), address 0x104: expected "
              "0x09, actual 0x05");
}

TEST(TileIo, RefusalsBecomeFailuresNamingTheStep) {
    ipu_sim::Device device;
    const std::vector<std::uint8_t> bytes(8, 0);
    const struct {
        DeviceStep step;
        std::string line;
    } cases[] = {
        {write_tile(device, 1472, 0, bytes),
         "device refused H2D write to tile 1472 at 0x0: Tile(1472)"},
        {write_tile(device, 3, 638972, bytes),
         "device refused H2D write to tile 3 at 0x9bffc: Address(638972)"},
        {check_tile(device, {"D2H", 2000, 0, bytes}),
         "device refused D2H read of tile 2000 at 0x0: Tile(2000)"},
    };
    for (const auto& c : cases) {
        ASSERT_FALSE(c.step.has_value()) << c.line;
        EXPECT_EQ(c.step.error().status, ExitStatus::failed);
        EXPECT_EQ(c.step.error().line, c.line);
    }
}

TEST(TileIo, ARefusedBuildFailsAsTheStepThatBuiltItAndRunsNothing) {
    ipu_sim::Device device;
    const auto ran = run_built_program(
        device, ProgramBuild(std::unexpected(ipu_exchange::ExchangeError::DuplicateTile{})),
        "compiling the test graph", "the test graph");
    ASSERT_FALSE(ran.has_value());
    EXPECT_EQ(ran.error().status, ExitStatus::failed);
    EXPECT_EQ(ran.error().line, "device refused compiling the test graph: DuplicateTile");
    EXPECT_EQ(device.cycle(), 0u);
}

}  // namespace
}  // namespace ipu_runner
