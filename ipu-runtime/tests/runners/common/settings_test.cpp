#include "ipu_runner/settings.hpp"

#include <gtest/gtest.h>

#include "test_support/scoped_environment.hpp"

namespace ipu_runner {
namespace {

using test_support::ScopedEnvironment;

constexpr const char* variable = "IPU_RUNNER_TEST_SETTING";

TEST(Settings, AbsentVariablesGiveNothingAndSwitchesOff) {
    const ScopedEnvironment cleared({}, {variable});
    EXPECT_EQ(read_variable(variable), std::nullopt);
    EXPECT_EQ(decimal_setting(variable, 10).value(), std::nullopt);
    EXPECT_EQ(tile_list_setting(variable).value(), std::nullopt);
    EXPECT_EQ(switch_setting(variable).value(), false);
}

TEST(Settings, EmptyValueIsSetAndRefused) {
    const ScopedEnvironment set({{std::string(variable), ""}});
    EXPECT_EQ(read_variable(variable), "");
    const auto bytes = decimal_setting(variable, 10);
    ASSERT_FALSE(bytes.has_value());
    EXPECT_EQ(bytes.error().line(), "IPU_RUNNER_TEST_SETTING=\"\": empty");
    EXPECT_FALSE(switch_setting(variable).has_value());
}

TEST(Settings, ParsedValues) {
    {
        const ScopedEnvironment set({{std::string(variable), "0x60000"}});
        EXPECT_EQ(number_setting(variable, 638976).value(), 0x60000u);
    }
    {
        const ScopedEnvironment set({{std::string(variable), "1471,274"}});
        EXPECT_EQ(tile_list_setting(variable).value(), (std::vector<std::uint16_t>{1471, 274}));
        EXPECT_FALSE(tile_setting(variable).has_value());
    }
}

TEST(Settings, ErrorLineNamesVariableAndQuotedRawValue) {
    const ScopedEnvironment set({{std::string(variable), "12\n\xff\"x"}});
    const auto bytes = decimal_setting(variable, 100);
    ASSERT_FALSE(bytes.has_value());
    EXPECT_EQ(bytes.error().value, "12\n\xff\"x");
    EXPECT_EQ(bytes.error().line(),
              "IPU_RUNNER_TEST_SETTING=\"12\\n\xff\\\"x\": not an unsigned decimal number");
}

TEST(Settings, LongValueIsShortenedOnItsLine) {
    const std::string long_value(1000, '9');
    const ScopedEnvironment set({{std::string(variable), long_value.c_str()}});
    const auto tile = tile_setting(variable);
    ASSERT_FALSE(tile.has_value());
    EXPECT_EQ(tile.error().value, long_value);
    const std::string line = tile.error().line();
    EXPECT_LT(line.size(), 300u);
    EXPECT_NE(line.find("(first 160 of 1000 bytes)"), std::string::npos) << line;
}

TEST(Settings, ConflictShowsTheValueAsGiven) {
    const ScopedEnvironment set({{std::string(variable), "0x9c000"}});
    const SettingError error = setting_conflict(variable, "runs past the end of SRAM");
    EXPECT_EQ(error.line(), "IPU_RUNNER_TEST_SETTING=\"0x9c000\": runs past the end of SRAM");
}

}  // namespace
}  // namespace ipu_runner
