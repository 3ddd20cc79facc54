#include "host_scenario.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "host_reference.hpp"

namespace ipu_host_runner {
namespace {

TEST(RelayPartners, HalfAChipAwayAndOutsideTheList) {
    EXPECT_EQ(relay_partners(std::vector<std::uint16_t>{0}), std::vector<std::uint16_t>{736});
    EXPECT_EQ(relay_partners(std::vector<std::uint16_t>{1471}), std::vector<std::uint16_t>{735});
    EXPECT_EQ(relay_partners(std::vector<std::uint16_t>{0, 736}),
              (std::vector<std::uint16_t>{737, 1}));

    std::vector<std::uint16_t> even_tiles;
    for (std::uint16_t tile = 0; tile < 1472; tile += 2) {
        even_tiles.push_back(tile);
    }
    const auto partners = relay_partners(even_tiles);
    ASSERT_EQ(partners.size(), even_tiles.size());
    std::set<std::uint16_t> seen(even_tiles.begin(), even_tiles.end());
    for (const std::uint16_t partner : partners) {
        EXPECT_TRUE(seen.insert(partner).second) << "partner " << partner << " used twice";
    }
}

TEST(HostReference, ComputeStepsAreBijections) {
    std::set<std::uint8_t> first;
    std::set<std::uint8_t> second;
    for (unsigned x = 0; x < 256; ++x) {
        first.insert(first_compute(static_cast<std::uint8_t>(x)));
        second.insert(second_compute(static_cast<std::uint8_t>(x)));
    }
    EXPECT_EQ(first.size(), 256u);
    EXPECT_EQ(second.size(), 256u);
}

TEST(HostReference, RelayedDataAndHostBufferFollowTheSourceTiles) {
    HostSettings settings{{5, 9}, 16, 0x100, HostSource::host_write, HostPath::compute_relay,
                          false};
    const HostScenario scenario = build_host_scenario(settings);
    ASSERT_EQ(scenario.relay_tiles, (std::vector<std::uint16_t>{741, 745}));
    EXPECT_TRUE(scenario.device_sends);

    const auto data = source_data(settings, 9);
    std::vector<std::uint8_t> relayed(data.size());
    std::transform(data.begin(), data.end(), relayed.begin(),
                   [](std::uint8_t x) { return second_compute(first_compute(x)); });
    EXPECT_EQ(final_data(scenario, 1), relayed);

    const auto buffer = expected_host_buffer(scenario);
    ASSERT_EQ(buffer.size(), 32u);
    EXPECT_TRUE(std::equal(relayed.begin(), relayed.end(), buffer.begin() + 16));

    const auto expectations = final_expectations(scenario);
    ASSERT_EQ(expectations.size(), 4u);
    EXPECT_EQ(expectations[3].tile, 745);
    EXPECT_EQ(expectations[3].bytes, relayed);
}

TEST(HostScenario, TilesSendToTheHostAfterH2DOrWhenAsked) {
    using enum HostSource;
    const struct {
        std::vector<std::uint16_t> tiles;
        HostSource source;
        bool asked;
        bool sends;
    } cases[] = {
        {{0}, host_write, false, true},
        {{0}, device_init, false, false},
        {{0}, device_init, true, true},
        {{1, 2}, device_init, false, true},
    };
    for (const auto& c : cases) {
        const HostScenario scenario =
            build_host_scenario({c.tiles, 8, 0, c.source, HostPath::direct, c.asked});
        EXPECT_EQ(scenario.device_sends, c.sends);
    }
}

}  // namespace
}  // namespace ipu_host_runner
