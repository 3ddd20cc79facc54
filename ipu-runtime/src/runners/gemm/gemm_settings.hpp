#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "gemm_plan.hpp"
#include "ipu_runner/settings.hpp"

namespace ipu_gemm {

// The dimension when IPU_GEMM_DIMENSION is absent.
inline constexpr std::uint32_t default_dimension = 128;

// What one run of ipu-gemm-e2e does.
struct GemmSettings {
    // From IPU_GEMM_DIMENSION: unsigned decimal n >= 1 whose plan fits in tile
    // memory; 128 when absent.
    GemmPlan plan;
    // From IPU_GEMM_SRAM_CHECK_BLOCK, "row,column" in blocks of the plan: the output
    // block to read back straight from the SRAM of its tile. None when absent.
    std::optional<BlockCoordinate> sram_check_block;
    // From IPU_PROFILE_OUTPUT, a non-empty path: where to write the cycle profile.
    // None when absent: no profile is written.
    std::optional<std::string> profile_output;
};

// "row,column": two unsigned decimal numbers (no leading zeros, signs or blanks)
// joined by one comma. Gives the phrase saying why otherwise.
std::expected<BlockCoordinate, std::string> parse_block_coordinate(std::string_view text);

// Reads and checks the three variables, in the order listed above; the first
// unusable one is the error, naming the variable and its value.
ipu_runner::Setting<GemmSettings> gemm_settings_from_environment();

}  // namespace ipu_gemm
