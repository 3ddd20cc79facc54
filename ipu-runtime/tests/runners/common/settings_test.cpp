#include "ipu_runner/settings.hpp"

#include <gtest/gtest.h>
#include <stdlib.h>

namespace ipu_runner {
namespace {

// Sets one variable for the life of a test and restores the absent state after.
class ScopedVariable {
  public:
    ScopedVariable(const char* name, const char* value) : name_(name) { ::setenv(name, value, 1); }
    ~ScopedVariable() { ::unsetenv(name_); }
    ScopedVariable(const ScopedVariable&) = delete;
    ScopedVariable& operator=(const ScopedVariable&) = delete;

  private:
    const char* name_;
};

constexpr const char* variable = "IPU_RUNNER_TEST_SETTING";

TEST(Settings, AbsentVariablesGiveNothingAndSwitchesOff) {
    ::unsetenv(variable);
    EXPECT_EQ(read_variable(variable), std::nullopt);
    EXPECT_EQ(decimal_setting(variable, 10).value(), std::nullopt);
    EXPECT_EQ(tile_list_setting(variable).value(), std::nullopt);
    EXPECT_EQ(switch_setting(variable).value(), false);
}

TEST(Settings, EmptyValueIsSetAndRefused) {
    const ScopedVariable set(variable, "");
    EXPECT_EQ(read_variable(variable), "");
    const auto bytes = decimal_setting(variable, 10);
    ASSERT_FALSE(bytes.has_value());
    EXPECT_EQ(bytes.error().line(), "IPU_RUNNER_TEST_SETTING=\"\": empty");
    EXPECT_FALSE(switch_setting(variable).has_value());
}

TEST(Settings, ParsedValues) {
    {
        const ScopedVariable set(variable, "0x60000");
        EXPECT_EQ(number_setting(variable, 638976).value(), 0x60000u);
    }
    {
        const ScopedVariable set(variable, "1471,274");
        EXPECT_EQ(tile_list_setting(variable).value(), (std::vector<std::uint16_t>{1471, 274}));
        EXPECT_FALSE(tile_setting(variable).has_value());
    }
}

TEST(Settings, ErrorLineNamesVariableAndQuotedRawValue) {
    const ScopedVariable set(variable, "12\n\xff\"x");
    const auto bytes = decimal_setting(variable, 100);
    ASSERT_FALSE(bytes.has_value());
    EXPECT_EQ(bytes.error().value, "12\n\xff\"x");
    EXPECT_EQ(bytes.error().line(),
              "IPU_RUNNER_TEST_SETTING=\"12\\n\xff\\\"x\": not an unsigned decimal number");
}

TEST(Settings, LongValueIsShortenedOnItsLine) {
    const std::string long_value(1000, '9');
    const ScopedVariable set(variable, long_value.c_str());
    const auto tile = tile_setting(variable);
    ASSERT_FALSE(tile.has_value());
    EXPECT_EQ(tile.error().value, long_value);
    const std::string line = tile.error().line();
    EXPECT_LT(line.size(), 300u);
    EXPECT_NE(line.find("(first 160 of 1000 bytes)"), std::string::npos) << line;
}

TEST(Settings, ConflictShowsTheValueAsGiven) {
    const ScopedVariable set(variable, "0x9c000");
    const SettingError error = setting_conflict(variable, "runs past the end of SRAM");
    EXPECT_EQ(error.line(), "IPU_RUNNER_TEST_SETTING=\"0x9c000\": runs past the end of SRAM");
}

}  // namespace
}  // namespace ipu_runner
