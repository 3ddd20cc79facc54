#include "ipu_sim/device_config.hpp"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace ipu_sim {
namespace {

TEST(HostWriteJitterSettings, ParsesGoodValuesAndNamesBadOnes) {
    using Value = std::optional<std::string_view>;
    const struct {
        Value max_us;
        Value seed;
        std::uint32_t max;
        std::uint64_t seed_value;
        std::string error;  // empty when the settings are good
    } cases[] = {
        {std::nullopt, std::nullopt, 0, default_host_write_jitter_seed, ""},
        {"250", std::nullopt, 250, default_host_write_jitter_seed, ""},
        {"", "", 0, default_host_write_jitter_seed, ""},
        {"0", "42", 0, 42, ""},
        {"4294967294", "18446744073709551615", 4294967294u, 18446744073709551615u, ""},
        {"10", "0x6a09e667f3bcc909", 10, 0x6a09e667f3bcc909, ""},
        {"4294967295", std::nullopt, 0, 0,
         "IPU_HOST_WRITE_JITTER_MAX_US: unusable value \"4294967295\" (expected unsigned decimal "
         "microseconds up to 4294967294)"},
        {"-1", std::nullopt, 0, 0,
         "IPU_HOST_WRITE_JITTER_MAX_US: unusable value \"-1\" (expected unsigned decimal "
         "microseconds up to 4294967294)"},
        {" 5", std::nullopt, 0, 0,
         "IPU_HOST_WRITE_JITTER_MAX_US: unusable value \" 5\" (expected unsigned decimal "
         "microseconds up to 4294967294)"},
        {"5", "18446744073709551616", 0, 0,
         "IPU_HOST_WRITE_JITTER_SEED: unusable value \"18446744073709551616\" (expected an "
         "unsigned 64-bit number, decimal or 0x-prefixed hexadecimal)"},
        {"5", "0x", 0, 0,
         "IPU_HOST_WRITE_JITTER_SEED: unusable value \"0x\" (expected an unsigned 64-bit number, "
         "decimal or 0x-prefixed hexadecimal)"},
        {"5", "12\n", 0, 0,
         "IPU_HOST_WRITE_JITTER_SEED: unusable value \"12\\n\" (expected an unsigned 64-bit "
         "number, decimal or 0x-prefixed hexadecimal)"},
    };
    for (const auto& c : cases) {
        const auto jitter = host_write_jitter_from_settings(c.max_us, c.seed);
        const std::string label = std::string(c.max_us.value_or("<unset>")) + " / " +
                                  std::string(c.seed.value_or("<unset>"));
        if (c.error.empty()) {
            ASSERT_TRUE(jitter.has_value()) << label << ": " << jitter.error().message();
            EXPECT_EQ(jitter->max_us, c.max) << label;
            EXPECT_EQ(jitter->seed, c.seed_value) << label;
        } else {
            ASSERT_FALSE(jitter.has_value()) << label;
            EXPECT_EQ(jitter.error().message(), c.error);
        }
    }
}

TEST(FaultCatalogue, NamesAreUniqueKebabCaseAndRoundTrip) {
    std::set<std::string_view> names;
    for (const Fault fault : all_faults()) {
        const std::string_view name = fault_name(fault);
        EXPECT_TRUE(names.insert(name).second) << name;
        EXPECT_EQ(name.find_first_not_of("abcdefghijklmnopqrstuvwxyz0123456789-"),
                  std::string_view::npos)
            << name;
        EXPECT_EQ(fault_from_name(name), fault);
    }
    EXPECT_EQ(all_faults().size(), 15u);
    EXPECT_EQ(fault_from_name("none"), std::nullopt);
    EXPECT_EQ(fault_from_name("Route-Lane-Stuck"), std::nullopt);
}

TEST(FaultCatalogue, SettingOfNoneOrAnUnknownName) {
    EXPECT_EQ(fault_from_setting(std::nullopt), Fault::None);
    EXPECT_EQ(fault_from_setting(""), Fault::None);
    EXPECT_EQ(fault_from_setting("skipped-sync"), Fault::SkippedSync);
    const auto unknown = fault_from_setting("cosmic-ray");
    ASSERT_FALSE(unknown.has_value());
    const std::string message = unknown.error().message();
    EXPECT_TRUE(
        message.starts_with("IPU_SIM_FAULT: unusable value \"cosmic-ray\" (expected one of "))
        << message;
    for (const Fault fault : all_faults()) {
        EXPECT_NE(message.find(fault_name(fault)), std::string::npos) << fault_name(fault);
    }
}

}  // namespace
}  // namespace ipu_sim
