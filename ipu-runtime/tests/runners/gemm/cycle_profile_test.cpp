#include "cycle_profile.hpp"

#include <gtest/gtest.h>

#include <vector>

namespace ipu_gemm {
namespace {

using ipu_package::ProfileStepKind;
using ipu_sim::StepKind;
using ipu_sim::StepRecord;

StepRecord record(StepKind kind, std::uint64_t start, std::uint64_t end, std::uint32_t index) {
    return StepRecord{kind,      start,    end,
                      "op",      "kernel", index,
                      index / 2, 0,        {{"bytes sent", std::to_string(index)}}};
}

// Two tiles of three steps each, all four kinds among them.
struct SmallRun {
    std::vector<StepRecord> first{record(StepKind::Synchronization, 0, 150, 0),
                                  record(StepKind::Exchange, 150, 400, 1),
                                  record(StepKind::Compute, 400, 900, 2)};
    std::vector<StepRecord> second{record(StepKind::Synchronization, 0, 150, 0),
                                   record(StepKind::Idle, 150, 900, 1)};
    std::vector<TileSteps> tiles{{63, first}, {0, second}};
};

TEST(BuildProfile, CarriesEveryRecordOverInTileOrder) {
    const SmallRun run;
    const auto report = build_profile(1'850'000'000, run.tiles);
    ASSERT_TRUE(report.has_value()) << report.error();
    EXPECT_EQ(report->clock_hz, 1'850'000'000u);
    ASSERT_EQ(report->tiles.size(), 2u);
    EXPECT_EQ(report->tiles[0].physical_tile, 63u);
    EXPECT_EQ(report->tiles[1].physical_tile, 0u);
    ASSERT_EQ(report->tiles[0].samples.size(), 3u);

    const ipu_package::CycleSample& compute = report->tiles[0].samples[2];
    EXPECT_EQ(compute.start_cycle, 400u);
    EXPECT_EQ(compute.end_cycle, 900u);
    EXPECT_EQ(compute.step,
              (ipu_package::ProfileStep{
                  2, 1, 0, "op", ProfileStepKind::Compute, "kernel", {{"bytes sent", "2"}}}));
    const ProfileStepKind kinds[] = {ProfileStepKind::Synchronization, ProfileStepKind::Exchange,
                                     ProfileStepKind::Compute};
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(report->tiles[0].samples[i].step.kind, kinds[i]);
    }
    EXPECT_EQ(report->tiles[1].samples[1].step.kind, ProfileStepKind::Idle);
}

TEST(BuildProfile, AppendsTheAnnotatorsEntriesAfterTheDevicesOwn) {
    const SmallRun run;
    const auto report = build_profile(1, run.tiles, [](std::uint16_t tile, const StepRecord& step) {
        return std::vector<ipu_package::ProfileMetadata>{
            {"tile", std::to_string(tile)}, {"index", std::to_string(step.local_index)}};
    });
    ASSERT_TRUE(report.has_value());
    EXPECT_EQ(report->tiles[1].samples[1].step.metadata,
              (std::vector<ipu_package::ProfileMetadata>{
                  {"bytes sent", "1"}, {"tile", "0"}, {"index", "1"}}));
}

TEST(BuildProfile, RefusesCyclesBeyondThirtyTwoBits) {
    const std::vector<StepRecord> late{record(StepKind::Idle, 10, 4'294'967'296, 0)};
    const std::vector<TileSteps> tiles{{5, late}};
    const auto report = build_profile(1, tiles);
    ASSERT_FALSE(report.has_value());
    EXPECT_EQ(report.error(),
              "cycle 4294967296 of physical tile 5 does not fit a 32-bit profile cycle");
}

TEST(ProfileFaults, EachBreaksWhatItNamesAndNothingElse) {
    const SmallRun run;
    const ipu_package::ProfileReport intact = *build_profile(1'850'000'000, run.tiles);

    ipu_package::ProfileReport missing_tile = intact;
    EXPECT_EQ(apply_profile_fault(missing_tile, ipu_sim::Fault::ProfileMissingTile),
              "profile written without physical tile 0");
    ASSERT_EQ(missing_tile.tiles.size(), 1u);
    EXPECT_EQ(missing_tile.tiles[0], intact.tiles[0]);

    ipu_package::ProfileReport missing_kind = intact;
    EXPECT_TRUE(apply_profile_fault(missing_kind, ipu_sim::Fault::ProfileMissingKind));
    EXPECT_EQ(missing_kind.tiles[0].samples.size(), 2u);
    EXPECT_EQ(missing_kind.tiles[1].samples.size(), 1u) << "every tile keeps a sample";
    for (const auto& tile : missing_kind.tiles) {
        for (const auto& sample : tile.samples) {
            EXPECT_NE(sample.step.kind, ProfileStepKind::Synchronization);
        }
    }

    ipu_package::ProfileReport zero_clock = intact;
    EXPECT_TRUE(apply_profile_fault(zero_clock, ipu_sim::Fault::ProfileZeroClock));
    EXPECT_EQ(zero_clock.clock_hz, 0u);
    EXPECT_EQ(zero_clock.tiles, intact.tiles);

    for (const auto fault :
         {ipu_sim::Fault::None, ipu_sim::Fault::ExchangeDrop, ipu_sim::Fault::Fp16Accumulation}) {
        ipu_package::ProfileReport untouched = intact;
        EXPECT_EQ(apply_profile_fault(untouched, fault), std::nullopt);
        EXPECT_EQ(untouched, intact);
    }
}

}  // namespace
}  // namespace ipu_gemm
