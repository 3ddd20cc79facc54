#include "gemm_settings.hpp"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "test_support/scoped_environment.hpp"

namespace ipu_gemm {
namespace {

struct Environment {
    std::optional<std::string> dimension = std::nullopt;
    std::optional<std::string> block = std::nullopt;
    std::optional<std::string> profile = std::nullopt;
};

// Sets the runner's three variables for the life of a check; absent ones are unset.
class ScopedSettings {
  public:
    explicit ScopedSettings(const Environment& environment)
        : environment_(present(environment),
                       {"IPU_GEMM_DIMENSION", "IPU_GEMM_SRAM_CHECK_BLOCK", "IPU_PROFILE_OUTPUT"}) {}

  private:
    static std::vector<std::pair<std::string, std::string>> present(
        const Environment& environment) {
        std::vector<std::pair<std::string, std::string>> set;
        const std::pair<const char*, const std::optional<std::string>&> variables[] = {
            {"IPU_GEMM_DIMENSION", environment.dimension},
            {"IPU_GEMM_SRAM_CHECK_BLOCK", environment.block},
            {"IPU_PROFILE_OUTPUT", environment.profile}};
        for (const auto& [name, value] : variables) {
            if (value) {
                set.emplace_back(name, *value);
            }
        }
        return set;
    }

    test_support::ScopedEnvironment environment_;
};

TEST(GemmSettings, AcceptedValues) {
    const struct {
        Environment environment;
        std::uint32_t dimension;
        std::optional<BlockCoordinate> block;
        std::optional<std::string> profile;
    } cases[] = {
        {{}, 128, std::nullopt, std::nullopt},
        {{"128", "1,1", "/tmp/p.capnp"}, 128, BlockCoordinate{1, 1}, "/tmp/p.capnp"},
        {{"1", "0,0", std::nullopt}, 1, BlockCoordinate{0, 0}, std::nullopt},
        {{"17", "1,0", "relative name"}, 17, BlockCoordinate{1, 0}, "relative name"},
        {{"1024", "10,10", std::nullopt}, 1024, BlockCoordinate{10, 10}, std::nullopt},
    };
    for (const auto& c : cases) {
        const ScopedSettings set(c.environment);
        const auto settings = gemm_settings_from_environment();
        ASSERT_TRUE(settings.has_value()) << settings.error().line();
        EXPECT_EQ(settings->plan.dimension, c.dimension);
        EXPECT_EQ(settings->sram_check_block, c.block);
        EXPECT_EQ(settings->profile_output, c.profile);
    }
}

TEST(GemmSettings, RefusedValuesNameTheVariable) {
    const struct {
        Environment environment;
        std::string line;
    } cases[] = {
        {{"0"}, "IPU_GEMM_DIMENSION=\"0\": not a positive number"},
        {{"-4"}, "IPU_GEMM_DIMENSION=\"-4\": not an unsigned decimal number"},
        {{"128 "}, "IPU_GEMM_DIMENSION=\"128 \": not an unsigned decimal number"},
        {{"0128"}, "IPU_GEMM_DIMENSION=\"0128\": written with a leading zero"},
        {{"1025"}, "IPU_GEMM_DIMENSION=\"1025\": above the largest allowed value 1024"},
        {{"4294967296"}, "IPU_GEMM_DIMENSION=\"4294967296\": above the largest allowed value 1024"},
        {{"128", "8,0"},
         "IPU_GEMM_SRAM_CHECK_BLOCK=\"8,0\": outside the 8 x 8 blocks of a 128 x 128 product"},
        {{"16", "0,1"},
         "IPU_GEMM_SRAM_CHECK_BLOCK=\"0,1\": outside the 1 x 1 blocks of a 16 x 16 product"},
        {{std::nullopt, "1"}, "IPU_GEMM_SRAM_CHECK_BLOCK=\"1\": not a block \"row,column\""},
        {{std::nullopt, "1,1,1"},
         "IPU_GEMM_SRAM_CHECK_BLOCK=\"1,1,1\": not a block \"row,column\": not an unsigned "
         "decimal number"},
        {{std::nullopt, ",1"},
         "IPU_GEMM_SRAM_CHECK_BLOCK=\",1\": not a block \"row,column\": empty"},
        {{std::nullopt, "1, 1"},
         "IPU_GEMM_SRAM_CHECK_BLOCK=\"1, 1\": not a block \"row,column\": not an unsigned "
         "decimal number"},
        {{std::nullopt, std::nullopt, ""}, "IPU_PROFILE_OUTPUT=\"\": an empty path"},
        // The first unusable variable is the one reported.
        {{"x", "9,9", ""}, "IPU_GEMM_DIMENSION=\"x\": not an unsigned decimal number"},
    };
    for (const auto& c : cases) {
        const ScopedSettings set(c.environment);
        const auto settings = gemm_settings_from_environment();
        ASSERT_FALSE(settings.has_value()) << c.line;
        EXPECT_EQ(settings.error().line(), c.line);
    }
}

}  // namespace
}  // namespace ipu_gemm
