// Reads the profile that an ipu-gemm-e2e run of the suite's settings wrote
// (IPU_GEMM_DIMENSION=128, IPU_PROFILE_OUTPUT=<path>) back through the profile
// reader and checks what it says about the run.

#include <fcntl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <set>
#include <string>

#include "gemm_plan.hpp"
#include "gemm_program.hpp"
#include "ipu_exchange/topology.hpp"
#include "ipu_package/ipu_package.hpp"

namespace ipu_gemm {
namespace {

using ipu_package::ProfileReport;
using ipu_package::ProfileStepKind;

class WrittenProfile : public testing::Test {
  protected:
    static void SetUpTestSuite() {
        const char* path = std::getenv("IPU_PROFILE_OUTPUT");
        ASSERT_NE(path, nullptr) << "IPU_PROFILE_OUTPUT names the profile to check";
        const int fd = ::open(path, O_RDONLY | O_CLOEXEC);
        ASSERT_GE(fd, 0) << path;
        auto report = ProfileReport::read(ipu_package::InputStream::from_fd(fd));
        ASSERT_TRUE(report.has_value()) << report.error().debug();
        profile = new ProfileReport(std::move(*report));
    }
    static void TearDownTestSuite() { delete profile; }

    void SetUp() override { ASSERT_NE(profile, nullptr); }

    static const std::string* metadata(const ipu_package::CycleSample& sample,
                                       const std::string& name) {
        for (const auto& entry : sample.step.metadata) {
            if (entry.name == name) {
                return &entry.value;
            }
        }
        return nullptr;
    }

    static inline const ProfileReport* profile = nullptr;
    const GemmPlan plan = *plan_gemm(128);
    const ipu_exchange::Topology topology = ipu_exchange::Topology::c600();
};

TEST_F(WrittenProfile, ListsEveryTileInLogicalOrderAtTheDeviceClock) {
    EXPECT_EQ(profile->clock_hz, 1'850'000'000u);
    ASSERT_EQ(profile->tiles.size(), 1472u);
    for (std::size_t logical = 0; logical < 1472; ++logical) {
        ASSERT_EQ(profile->tiles[logical].physical_tile, topology.logical_to_physical[logical])
            << logical;
    }
}

// Every tile's samples follow each other without gap or overlap from cycle 0 to
// the common end of the run, and carry all three supersteps of the one run.
TEST_F(WrittenProfile, EveryTileAccountsForEveryCycleOfTheRun) {
    const std::uint32_t run_end = profile->tiles.front().samples.back().end_cycle;
    EXPECT_GT(run_end, 0u);
    std::set<ProfileStepKind> kinds;
    for (const auto& tile : profile->tiles) {
        ASSERT_FALSE(tile.samples.empty()) << tile.physical_tile;
        std::uint32_t cycle = 0;
        std::set<std::string> operations;
        for (std::size_t i = 0; i < tile.samples.size(); ++i) {
            const auto& sample = tile.samples[i];
            ASSERT_EQ(sample.start_cycle, cycle) << "tile " << tile.physical_tile << " step " << i;
            ASSERT_GT(sample.end_cycle, sample.start_cycle);
            EXPECT_EQ(sample.step.local_index, i);
            EXPECT_EQ(sample.step.epoch, 0u);
            cycle = sample.end_cycle;
            operations.insert(sample.step.operation);
            kinds.insert(sample.step.kind);
        }
        EXPECT_EQ(cycle, run_end) << tile.physical_tile;
        EXPECT_EQ(operations,
                  (std::set<std::string>{"distribute operands", "block products", "sum partials"}));
    }
    EXPECT_EQ(kinds.size(), 4u);
}

TEST_F(WrittenProfile, ComputeStepsNameTheirKernelsAndBlocks) {
    std::map<std::string, int> kernels;
    for (const auto& tile : profile->tiles) {
        for (const auto& sample : tile.samples) {
            if (sample.step.kind == ProfileStepKind::Compute) {
                ++kernels[sample.step.kernel];
                EXPECT_NE(metadata(sample, "block"), nullptr);
                EXPECT_NE(metadata(sample, "work"), nullptr);
            }
        }
    }
    EXPECT_EQ(kernels, (std::map<std::string, int>{{std::string(block_product_kernel), 512},
                                                   {std::string(partial_sum_kernel), 64}}));
    const auto& first = profile->tiles[plan.product_tile(0, 1, 2)];
    const auto product =
        std::ranges::find(first.samples, ProfileStepKind::Compute,
                          [](const ipu_package::CycleSample& s) { return s.step.kind; });
    ASSERT_NE(product, first.samples.end());
    EXPECT_EQ(*metadata(*product, "block"), "A(0,2) x B(2,1)");
}

TEST_F(WrittenProfile, ExchangeStepsNameTheirPeersAndSizes) {
    // The home of A(0,0) and B(0,0) multicasts each to the 7 other products of its
    // block row and block column: 14 peers, 2 blocks of 1 KiB sent.
    const auto& home = profile->tiles[plan.product_tile(0, 0, 0)];
    const auto distribute =
        std::ranges::find(home.samples, ProfileStepKind::Exchange,
                          [](const ipu_package::CycleSample& s) { return s.step.kind; });
    ASSERT_NE(distribute, home.samples.end());
    EXPECT_EQ(distribute->step.phase, 0u);
    ASSERT_NE(metadata(*distribute, "peer tiles"), nullptr);
    EXPECT_EQ(std::ranges::count(*metadata(*distribute, "peer tiles"), ','), 13);
    EXPECT_EQ(*metadata(*distribute, "bytes sent"), "2048");
    for (const auto& tile : profile->tiles) {
        for (const auto& sample : tile.samples) {
            if (sample.step.kind == ProfileStepKind::Exchange) {
                EXPECT_NE(metadata(sample, "peer tiles"), nullptr) << tile.physical_tile;
            }
        }
    }
}

TEST_F(WrittenProfile, TilesWithoutABlockOnlySyncAndWait) {
    const std::uint16_t logical_without_block = 1;  // products sit on 0, 2, 5, 8, ...
    for (const auto& sample : profile->tiles[logical_without_block].samples) {
        EXPECT_TRUE(sample.step.kind == ProfileStepKind::Synchronization ||
                    sample.step.kind == ProfileStepKind::Idle);
    }
}

}  // namespace
}  // namespace ipu_gemm
