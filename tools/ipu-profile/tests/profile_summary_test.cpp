#include "ipu_profile/profile_summary.hpp"

#include <gtest/gtest.h>

#include "small_profile.hpp"

namespace ipu_profile {
namespace {

using ipu_package::ProfileStepKind;

std::vector<std::uint32_t> physical_numbers(const std::vector<const TileTotals*>& tiles) {
    std::vector<std::uint32_t> numbers;
    for (const TileTotals* tile : tiles) {
        numbers.push_back(tile->physical_tile);
    }
    return numbers;
}

TEST(ProfileSummary, CountsCyclesPerKindSpanAndSamples) {
    const ProfileSummary summary = summarise(testing::small_report());
    EXPECT_EQ(summary.clock_hz, 1'000'000'000u);
    EXPECT_EQ(summary.tile_entries, 4u);
    EXPECT_EQ(summary.samples, 7u);
    EXPECT_EQ(summary.reversed_samples, 1u);
    EXPECT_EQ(summary.kind_cycles, (KindCycles{60, 420, 10, 40}));
    EXPECT_EQ(summary.total_cycles(), 530u);
    ASSERT_TRUE(summary.span);
    EXPECT_EQ(summary.span->first_cycle, 100u);
    EXPECT_EQ(summary.span->last_cycle, 520u);
    EXPECT_EQ(summary.span->cycles(), 420u);
}

TEST(ProfileSummary, AddsRepeatedTileEntriesTogetherAndRanksTiles) {
    const ProfileSummary summary = summarise(testing::small_report());
    ASSERT_EQ(summary.tiles.size(), 3u);
    EXPECT_EQ(summary.tiles[0].physical_tile, 2u);
    EXPECT_EQ(summary.tiles[1].physical_tile, 65u);
    EXPECT_EQ(summary.tiles[2].physical_tile, 1471u);

    const TileTotals& tile_65 = summary.tiles[1];
    EXPECT_EQ(tile_65.samples, 4u);
    EXPECT_EQ(tile_65.cycles, (KindCycles{60, 320, 0, 40}));
    EXPECT_EQ(tile_65.busy_cycles(), 380u);
    EXPECT_EQ(summary.tiles[2].samples, 0u);

    EXPECT_EQ(physical_numbers(summary.busiest_tiles(10)),
              (std::vector<std::uint32_t>{65, 2, 1471}));
    EXPECT_EQ(physical_numbers(summary.idlest_tiles(2)), (std::vector<std::uint32_t>{1471, 2}));
    EXPECT_TRUE(summary.busiest_tiles(0).empty());
}

TEST(ProfileSummary, EqualTilesRankByPhysicalNumber) {
    ipu_package::ProfileReport report{.clock_hz = 1, .tiles = {}};
    for (const std::uint32_t physical : {9u, 4u, 7u}) {
        report.tiles.push_back({.physical_tile = physical, .samples = {}});
    }
    const ProfileSummary summary = summarise(report);
    EXPECT_EQ(physical_numbers(summary.busiest_tiles(3)), (std::vector<std::uint32_t>{4, 7, 9}));
    EXPECT_EQ(physical_numbers(summary.idlest_tiles(3)), (std::vector<std::uint32_t>{4, 7, 9}));
}

TEST(ProfileSummary, GroupsStepsByOperationAndKernelCostliestFirst) {
    const ProfileSummary summary = summarise(testing::small_report());
    struct Expected {
        std::string operation;
        std::string kernel;
        std::uint64_t samples;
        std::uint64_t cycles;
        std::vector<ProfileStepKind> kinds;
    };
    const std::vector<Expected> expected = {
        {"matmul", "mm16", 3, 420, {ProfileStepKind::Compute}},
        {"load", "dma", 1, 60, {ProfileStepKind::Exchange}},
        {"wait", "idle", 1, 40, {ProfileStepKind::Idle}},
        {"sync", "barrier", 1, 10, {ProfileStepKind::Synchronization}},
        // Reversed: no cycles, but the sample and its kind still count.
        {"matmul", "mm8", 1, 0, {ProfileStepKind::Compute}},
    };
    ASSERT_EQ(summary.steps.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE("step " + std::to_string(i));
        EXPECT_EQ(summary.steps[i].operation, expected[i].operation);
        EXPECT_EQ(summary.steps[i].kernel, expected[i].kernel);
        EXPECT_EQ(summary.steps[i].samples, expected[i].samples);
        EXPECT_EQ(summary.steps[i].total_cycles(), expected[i].cycles);
        EXPECT_EQ(summary.steps[i].kinds(), expected[i].kinds);
    }
}

TEST(ProfileSummary, KeepsAStepsMixedKindsApart) {
    ipu_package::ProfileReport report = testing::small_report();
    report.tiles[0].samples[0].step.operation = "matmul";
    report.tiles[0].samples[0].step.kernel = "mm16";
    const ProfileSummary summary = summarise(report);
    const StepTotals& step = summary.steps.front();
    EXPECT_EQ(step.total_cycles(), 480u);
    EXPECT_EQ(step.cycles, (KindCycles{60, 420, 0, 0}));
    EXPECT_EQ(step.kinds(),
              (std::vector<ProfileStepKind>{ProfileStepKind::Exchange, ProfileStepKind::Compute}));
}

TEST(ProfileSummary, EmptyProfilesHaveNoSpanAndNoShares) {
    const ProfileSummary no_tiles = summarise({.clock_hz = 0, .tiles = {}});
    EXPECT_FALSE(no_tiles.span);
    EXPECT_TRUE(no_tiles.tiles.empty());
    EXPECT_TRUE(no_tiles.steps.empty());
    EXPECT_EQ(no_tiles.total_cycles(), 0u);

    const ProfileSummary empty_tile = summarise({.clock_hz = 5, .tiles = {{.physical_tile = 3}}});
    EXPECT_FALSE(empty_tile.span);
    ASSERT_EQ(empty_tile.tiles.size(), 1u);
    EXPECT_EQ(share_of(0, 0), 0.0);
}

TEST(ProfileSummary, ExtremeCycleValuesNeitherWrapNorOverflow) {
    ipu_package::ProfileReport report{.clock_hz = 1, .tiles = {}};
    ipu_package::TileProfile tile{.physical_tile = 0, .samples = {}};
    ipu_package::CycleSample whole_counter{};
    whole_counter.start_cycle = 0;
    whole_counter.end_cycle = 0xffffffffu;
    tile.samples.assign(4, whole_counter);
    report.tiles.assign(3, tile);
    const ProfileSummary summary = summarise(report);
    EXPECT_EQ(summary.total_cycles(), 12u * 0xffffffffull);
    EXPECT_EQ(summary.span->cycles(), 0xffffffffull);
    EXPECT_EQ(summary.tiles.size(), 1u);
}

}  // namespace
}  // namespace ipu_profile
