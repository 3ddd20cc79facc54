#include "host_settings.hpp"

#include <gtest/gtest.h>

#include <numeric>

#include "ipu_text/tile_list.hpp"
#include "test_support/scoped_environment.hpp"

namespace ipu_host_runner {
namespace {

using Variables = std::vector<std::pair<std::string, std::string>>;

const std::vector<std::string> all_variables = {
    "IPU_HOST_TEST_TILE",          "IPU_HOST_TEST_TILES",
    "IPU_HOST_TEST_BYTES",         "IPU_HOST_TEST_ADDRESS",
    "IPU_HOST_TEST_D2H_ONLY",      "IPU_HOST_TEST_REMOTE_D2H",
    "IPU_HOST_TEST_EXCHANGE",      "IPU_HOST_TEST_INITIALIZED_EXCHANGE",
    "IPU_HOST_TEST_COMPUTE_RELAY",
};

ipu_runner::Setting<HostSettings> read_with(const Variables& variables) {
    const test_support::ScopedEnvironment environment(variables, all_variables);
    return read_host_settings();
}

// The list "0,1,...,count - 1".
std::string tile_range(std::uint16_t count) {
    std::vector<std::uint16_t> tiles(count);
    std::iota(tiles.begin(), tiles.end(), std::uint16_t{0});
    return ipu_text::tile_list(tiles);
}

TEST(HostSettings, SuiteScenariosAndDefaults) {
    using enum HostSource;
    using enum HostPath;
    const struct {
        Variables variables;
        HostSettings expected;
    } cases[] = {
        {{}, {{0}, 1024, 0, host_write, direct, false}},
        {{{"IPU_HOST_TEST_D2H_ONLY", "1"}}, {{0}, 1024, 0, device_init, direct, false}},
        {{{"IPU_HOST_TEST_EXCHANGE", "1"}, {"IPU_HOST_TEST_INITIALIZED_EXCHANGE", "1"}},
         {{0}, 1024, 0, device_init, relay, false}},
        {{{"IPU_HOST_TEST_EXCHANGE", "1"}, {"IPU_HOST_TEST_BYTES", "2048"}},
         {{0}, 2048, 0, host_write, relay, false}},
        {{{"IPU_HOST_TEST_COMPUTE_RELAY", "1"}, {"IPU_HOST_TEST_BYTES", "4"}},
         {{0}, 4, 0, host_write, compute_relay, false}},
        {{{"IPU_HOST_TEST_TILE", "1471"}, {"IPU_HOST_TEST_BYTES", "8192"}},
         {{1471}, 8192, 0, host_write, direct, false}},
        {{{"IPU_HOST_TEST_TILE", "100"},
          {"IPU_HOST_TEST_BYTES", "65536"},
          {"IPU_HOST_TEST_ADDRESS", "0x60000"}},
         {{100}, 65536, 0x60000, host_write, direct, false}},
        {{{"IPU_HOST_TEST_REMOTE_D2H", "1"},
          {"IPU_HOST_TEST_TILE", "1471"},
          {"IPU_HOST_TEST_BYTES", "8192"}},
         {{1471}, 8192, 0, device_init, direct, true}},
        {{{"IPU_HOST_TEST_TILES", "1471,274"}, {"IPU_HOST_TEST_BYTES", "64"}},
         {{1471, 274}, 64, 0, host_write, direct, false}},
        {{{"IPU_HOST_TEST_ADDRESS", "638975"}, {"IPU_HOST_TEST_BYTES", "1"}},
         {{0}, 1, 638975, host_write, direct, false}},
        {{{"IPU_HOST_TEST_D2H_ONLY", "0"}, {"IPU_HOST_TEST_BYTES", "638976"}},
         {{0}, 638976, 0, host_write, direct, false}},
        {{{"IPU_HOST_TEST_EXCHANGE", "1"}, {"IPU_HOST_TEST_COMPUTE_RELAY", "1"}},
         {{0}, 1024, 0, host_write, compute_relay, false}},
    };
    for (const auto& c : cases) {
        const auto settings = read_with(c.variables);
        ASSERT_TRUE(settings.has_value()) << settings.error().line();
        EXPECT_EQ(settings->tiles, c.expected.tiles);
        EXPECT_EQ(settings->bytes, c.expected.bytes);
        EXPECT_EQ(settings->address, c.expected.address);
        EXPECT_EQ(settings->source, c.expected.source);
        EXPECT_EQ(settings->path, c.expected.path);
        EXPECT_EQ(settings->tiles_send_to_host, c.expected.tiles_send_to_host);
    }
}

TEST(HostSettings, RefusedSettingsNameTheVariable) {
    const struct {
        Variables variables;
        std::string blamed;
    } cases[] = {
        {{{"IPU_HOST_TEST_BYTES", "0"}}, "IPU_HOST_TEST_BYTES"},
        {{{"IPU_HOST_TEST_BYTES", ""}}, "IPU_HOST_TEST_BYTES"},
        {{{"IPU_HOST_TEST_BYTES", "638977"}}, "IPU_HOST_TEST_BYTES"},
        {{{"IPU_HOST_TEST_BYTES", "-1"}}, "IPU_HOST_TEST_BYTES"},
        {{{"IPU_HOST_TEST_ADDRESS", "0x9c000"}}, "IPU_HOST_TEST_ADDRESS"},
        {{{"IPU_HOST_TEST_ADDRESS", "0X10"}}, "IPU_HOST_TEST_ADDRESS"},
        {{{"IPU_HOST_TEST_ADDRESS", "0x90000"}, {"IPU_HOST_TEST_BYTES", "65536"}},
         "IPU_HOST_TEST_ADDRESS"},
        {{{"IPU_HOST_TEST_BYTES", "638976"}, {"IPU_HOST_TEST_ADDRESS", "1"}},
         "IPU_HOST_TEST_ADDRESS"},
        {{{"IPU_HOST_TEST_TILE", "1472"}}, "IPU_HOST_TEST_TILE"},
        {{{"IPU_HOST_TEST_TILE", "5"}, {"IPU_HOST_TEST_TILES", "6"}}, "IPU_HOST_TEST_TILE"},
        {{{"IPU_HOST_TEST_TILES", "1,1"}}, "IPU_HOST_TEST_TILES"},
        {{{"IPU_HOST_TEST_TILES", "1,2,"}}, "IPU_HOST_TEST_TILES"},
        {{{"IPU_HOST_TEST_D2H_ONLY", "yes"}}, "IPU_HOST_TEST_D2H_ONLY"},
        {{{"IPU_HOST_TEST_COMPUTE_RELAY", "true"}}, "IPU_HOST_TEST_COMPUTE_RELAY"},
        {{{"IPU_HOST_TEST_INITIALIZED_EXCHANGE", "1"}}, "IPU_HOST_TEST_INITIALIZED_EXCHANGE"},
        {{{"IPU_HOST_TEST_TILES", tile_range(737)},
          {"IPU_HOST_TEST_EXCHANGE", "1"},
          {"IPU_HOST_TEST_BYTES", "1"}},
         "IPU_HOST_TEST_TILES"},
        {{{"IPU_HOST_TEST_TILES", tile_range(100)}, {"IPU_HOST_TEST_BYTES", "638976"}},
         "IPU_HOST_TEST_BYTES"},
        // 200 x 64 KiB fit, but not with 128 KiB of alias sentinels per tile.
        {{{"IPU_HOST_TEST_TILES", tile_range(200)},
          {"IPU_HOST_TEST_BYTES", "65536"},
          {"IPU_HOST_TEST_ADDRESS", "0x60000"}},
         "IPU_HOST_TEST_BYTES"},
    };
    for (const auto& c : cases) {
        const auto settings = read_with(c.variables);
        ASSERT_FALSE(settings.has_value()) << c.blamed;
        EXPECT_EQ(settings.error().variable, c.blamed) << settings.error().line();
    }
}

TEST(HostSettings, RelayOfHalfTheChipFits) {
    const auto settings = read_with({{"IPU_HOST_TEST_TILES", tile_range(736)},
                                     {"IPU_HOST_TEST_COMPUTE_RELAY", "1"},
                                     {"IPU_HOST_TEST_BYTES", "64"}});
    ASSERT_TRUE(settings.has_value()) << settings.error().line();
    EXPECT_EQ(settings->tiles.size(), 736u);
}

}  // namespace
}  // namespace ipu_host_runner
