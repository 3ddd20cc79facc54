#include "ipu_runner/physical_tile.hpp"

#include <gtest/gtest.h>

#include "ipu_runner/pattern_codelet.hpp"
#include "ipu_runner/tile_io.hpp"
#include "ipu_sim/device.hpp"

namespace ipu_runner {
namespace {

TEST(PhysicalTile, C600TilesTakeTheirPhysicalNumbers) {
    for (std::uint16_t logical = 0; logical < ipu_exchange::c600_tile_count; ++logical) {
        ASSERT_EQ(physical_tile(logical), ipu_exchange::c600_logical_to_physical(logical))
            << logical;
    }
}

// The mapping itself folds 1472 onto 64 and 65535 onto 3810 (a real tile's and
// a number past the grid); a runner's number outside the chip stays what it is,
// so whatever addresses the device with it is refused, naming that number.
TEST(PhysicalTile, NumbersOutsideTheChipNeverBecomeATile) {
    for (const std::uint16_t outside :
         {std::uint16_t{1472}, std::uint16_t{1473}, std::uint16_t{4255}, std::uint16_t{65535}}) {
        EXPECT_EQ(physical_tile(outside), outside);

        ipu_sim::Device device;
        ipu_sim::Program program;
        program.supersteps.push_back(
            {.operation = "pattern", .compute = {pattern_codelet(outside, {1, outside}, {0, 8})}});
        const auto ran = run_program(device, program, "the pattern");
        ASSERT_FALSE(ran.has_value()) << outside;
        EXPECT_EQ(ran.error().line,
                  "device refused running the pattern: Tile(" + std::to_string(outside) + ")");
    }
}

}  // namespace
}  // namespace ipu_runner
