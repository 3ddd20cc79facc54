#include "gemm_settings.hpp"

#include <limits>

#include "ipu_runner/parsers.hpp"
#include "ipu_runner_contract/names.hpp"

namespace ipu_gemm {
namespace {

using ipu_runner::Setting;

namespace contract = ipu_runner_contract;

// The largest product the runner takes: its host matrices, references and the
// device's touched SRAM then stay within a 256 MiB budget (about 235 MiB at 1024).
constexpr std::uint64_t largest_dimension = 1024;

Setting<GemmPlan> plan_setting() {
    const auto dimension = ipu_runner::decimal_setting(contract::gemm_dimension, largest_dimension);
    if (!dimension) {
        return std::unexpected(dimension.error());
    }
    auto plan = plan_gemm(static_cast<std::uint32_t>(dimension->value_or(default_dimension)));
    if (!plan) {
        return std::unexpected(
            ipu_runner::setting_conflict(contract::gemm_dimension, plan.error()));
    }
    return *plan;
}

Setting<std::optional<BlockCoordinate>> block_setting(const GemmPlan& plan) {
    const std::optional<std::string> text =
        ipu_runner::read_variable(contract::gemm_sram_check_block);
    if (!text) {
        return std::nullopt;
    }
    const auto block = parse_block_coordinate(*text);
    if (!block) {
        return std::unexpected(
            ipu_runner::SettingError{contract::gemm_sram_check_block, *text, block.error()});
    }
    if (block->row >= plan.grid || block->column >= plan.grid) {
        const std::string grid = std::to_string(plan.grid);
        const std::string n = std::to_string(plan.dimension);
        return std::unexpected(ipu_runner::SettingError{
            contract::gemm_sram_check_block, *text,
            "outside the " + grid + " x " + grid + " blocks of a " + n + " x " + n + " product"});
    }
    return std::optional{*block};
}

Setting<std::optional<std::string>> profile_setting() {
    std::optional<std::string> path = ipu_runner::read_variable(contract::profile_output);
    if (path && path->empty()) {
        return std::unexpected(
            ipu_runner::SettingError{contract::profile_output, "", "an empty path"});
    }
    return path;
}

}  // namespace

std::expected<BlockCoordinate, std::string> parse_block_coordinate(std::string_view text) {
    const std::size_t comma = text.find(',');
    if (comma == std::string_view::npos) {
        return std::unexpected("not a block \"row,column\"");
    }
    constexpr std::uint64_t max = std::numeric_limits<std::uint32_t>::max();
    const auto row = ipu_runner::parse_decimal(text.substr(0, comma), max);
    const auto column = ipu_runner::parse_decimal(text.substr(comma + 1), max);
    if (!row || !column) {
        return std::unexpected("not a block \"row,column\": " + (row ? column : row).error());
    }
    return BlockCoordinate{static_cast<std::uint32_t>(*row), static_cast<std::uint32_t>(*column)};
}

Setting<GemmSettings> gemm_settings_from_environment() {
    const auto plan = plan_setting();
    if (!plan) {
        return std::unexpected(plan.error());
    }
    auto block = block_setting(*plan);
    if (!block) {
        return std::unexpected(block.error());
    }
    auto profile = profile_setting();
    if (!profile) {
        return std::unexpected(profile.error());
    }
    return GemmSettings{*plan, *block, std::move(*profile)};
}

}  // namespace ipu_gemm
